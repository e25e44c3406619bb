#!/bin/bash
# Set-up, build, then the benchmark tables in one Octave run
# (bench/run_benchmarks.m): every module against the m-code a user would
# otherwise write, at 1e6 elements (arrays), per scalar or small call
# (calls), at n = 1 to 1e6 values per call and N = 100 to 1e5 particles
# (sizes), the demo's particle filter and Gibbs sampler against the same
# programs in plain Octave (workloads), and beside numpy and scipy (peers,
# skipped with a note when /usr/bin/python3 lacks them).  Arguments:
# repetitions (7), which table (all, arrays, calls, sizes, workloads or
# peers).
set -euo pipefail
cd "$(dirname "$0")/.."
case "${2:-all}" in
  all|arrays|calls|sizes|workloads|peers) ;;
  *) echo "usage: $0 [reps] [all|arrays|calls|sizes|workloads|peers]" >&2; exit 2 ;;
esac
bash scripts/setup.sh
bash scripts/build.sh
# Freed memory stays in the heap, as in a long-running session: these
# virtual machines charge about 10 us per page fault.
export MALLOC_MMAP_THRESHOLD_=4294967296 MALLOC_TRIM_THRESHOLD_=4294967296
octave-cli --no-gui --norc --no-history --quiet --eval "addpath('build/octave'); addpath('bench'); addpath('matlab'); run_benchmarks(${1:-7}, '${2:-all}');"
