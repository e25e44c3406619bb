#!/bin/bash
# Set-up, build, then every test: the stand-in-host and Octave suites, both
# again under the sanitizers, the stand-in suite cross-built for arm64 under
# QEMU and for 64-bit Windows under Wine (with the Octave package's Windows
# build), a short fuzzing run of every gateway, and the mutation probe.  With
# --quick only the first.  Compiler warnings fail the build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh -DBAYESMEX_WERROR=ON
(cd build && ctest --output-on-failure -j2)
if [ "${1:-}" != "--quick" ]; then
  bash scripts/sanitize.sh -DBAYESMEX_WERROR=ON
  bash scripts/sanitize_octave.sh -DBAYESMEX_WERROR=ON
  bash scripts/test_arm64.sh -DBAYESMEX_WERROR=ON
  bash scripts/test_windows.sh -DBAYESMEX_WERROR=ON
  bash scripts/fuzz.sh 2 -DBAYESMEX_WERROR=ON
  python3 tests/mutation/probe.py
fi
