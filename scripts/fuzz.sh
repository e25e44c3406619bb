#!/bin/bash
# Builds one libFuzzer target per module and runs each for SECONDS (default 2)
# from the committed seed corpus.  A crash, a sanitizer report, a leak or a
# call over 10 s fails the run.  Further arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-2}
shift || true
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Release -DBAYESMEX_FUZZ=ON -DBAYESMEX_TESTS=OFF \
  -DBAYESMEX_FUZZ_SECONDS="$seconds" -DBAYESMEX_WERROR=OFF "$@" > build-fuzz.log 2>&1 \
  || { cat build-fuzz.log; exit 1; }
cmake --build build-fuzz -j"$(nproc)" >> build-fuzz.log 2>&1 || { tail -50 build-fuzz.log; exit 1; }
cd build-fuzz
ctest --output-on-failure
