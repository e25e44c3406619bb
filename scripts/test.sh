#!/bin/bash
# Set-up, build, then every test: the stand-in-host and Octave suites, the
# stand-in suite again under the sanitizers, and a short fuzzing run of every
# gateway, and the mutation probe.  With --quick only the first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
(cd build && ctest --output-on-failure -j2)
if [ "${1:-}" != "--quick" ]; then
  bash scripts/sanitize.sh
  bash scripts/fuzz.sh 2
  python3 tests/mutation/probe.py
fi
