#!/bin/bash
# Configures and builds everything into build/: the Octave modules and the
# tests (both hosts).  Extra arguments go to the configure step (the test
# command adds -DBAYESMEX_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBAYESMEX_TESTS=ON -DBAYESMEX_WERROR=OFF "$@" \
  > build.log 2>&1 || { cat build.log; exit 1; }
cmake --build build -j"$(nproc)" >> build.log 2>&1 || { tail -50 build.log; exit 1; }
