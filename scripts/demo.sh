#!/bin/bash
# Set-up, build, then the demo in Octave (figures go to demo/figures/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
octave-cli --no-gui --norc --no-history --quiet \
  --eval "addpath('$PWD/build/octave'); bayesmex_demo(${1:-1}, 'full', '$PWD/demo/figures');"
