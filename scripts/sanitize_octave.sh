#!/bin/bash
# The Octave suites again with the oct-files built under AddressSanitizer and
# UndefinedBehaviorSanitizer (g++'s runtimes, -DBAYESMEX_OCTAVE_SANITIZE=ON,
# into build-octave-asan/): every tests/octave test and every function's
# test and demo blocks, each in an Octave started with the ASan runtime
# preloaded (tests/octave_tests.cmake sets the environment).  Any report
# ends that Octave and fails its test.  Extra arguments go to the configure
# step.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-octave-asan -DCMAKE_BUILD_TYPE=Release -DBAYESMEX_OCTAVE_SANITIZE=ON \
  -DBAYESMEX_WERROR=OFF "$@" > build-octave-asan.log 2>&1 \
  || { cat build-octave-asan.log; exit 1; }
cmake --build build-octave-asan -j"$(nproc)" >> build-octave-asan.log 2>&1 \
  || { tail -50 build-octave-asan.log; exit 1; }
cd build-octave-asan
ctest --output-on-failure -j2
