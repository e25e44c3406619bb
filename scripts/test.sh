#!/bin/bash
# Set-up, build, then every test (stand-in host, export contract, Octave).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
cd build
ctest --output-on-failure -j2
