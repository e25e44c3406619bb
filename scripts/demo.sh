#!/bin/bash
# Set-up, build, then the demo in Octave (figures go to demo/figures/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
octave-cli --no-gui --norc --quiet --eval "addpath('build/octave'); addpath('demo'); bayesmex_demo(${1:-1});"
