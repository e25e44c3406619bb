#!/bin/bash
# Set-up, build, then every module's benchmark against the m-code a user
# would otherwise write, in one Octave run; prints one table.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
octave-cli --no-gui --norc --no-history --quiet --eval "addpath('build/octave'); addpath('bench'); run_benchmarks(${1:-7});"
