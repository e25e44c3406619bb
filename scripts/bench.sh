#!/bin/bash
# Set-up, build, then every module's benchmark against the m-code a user
# would otherwise write, in one Octave run; prints the array table, then the
# per-call table (bench/calls_table.m).  Arguments: repetitions (7), which
# table (all, arrays or calls).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
# Freed memory stays in the heap, as in a long-running session: these
# virtual machines charge about 10 us per page fault.
export MALLOC_MMAP_THRESHOLD_=4294967296 MALLOC_TRIM_THRESHOLD_=4294967296
octave-cli --no-gui --norc --no-history --quiet --eval "addpath('build/octave'); addpath('bench'); addpath('matlab'); run_benchmarks(${1:-7}, '${2:-all}');"
