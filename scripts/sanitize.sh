#!/bin/bash
# The stand-in-host tests again under AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer (clang's runtime): any report fails the run.  Extra
# arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Release -DBAYESMEX_SANITIZE=ON \
  -DBAYESMEX_TESTS=ON -DBAYESMEX_WERROR=OFF "$@" > build-asan.log 2>&1 \
  || { cat build-asan.log; exit 1; }
cmake --build build-asan -j"$(nproc)" >> build-asan.log 2>&1 || { tail -50 build-asan.log; exit 1; }
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-asan
ctest --output-on-failure -j2
