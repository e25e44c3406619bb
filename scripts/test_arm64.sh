#!/bin/bash
# Cross-builds the stand-in host, the libraries, the modules and the unit
# tests for 64-bit ARM Linux (aarch64, the code path of ARM Linux machines and
# Apple-silicon Macs: generic vectors, no x86 dispatch) into build-arm64/ and
# runs them through CTest under user-mode QEMU.  Then it compares the bits
# every module gives for fixed inputs (tests/cross/bits_digest.cpp) with those
# of the native build in build/ (built first if missing): a module that
# differs while the C library's functions agree fails; where the C libraries
# themselves differ the differences are shown, not failed.  Needs
# g++-aarch64-linux-gnu, qemu-user and googletest's sources (scripts/setup.sh
# installs them).  Extra arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
root=/usr/aarch64-linux-gnu
gtest=/usr/src/googletest
qemu=$(command -v qemu-aarch64 || command -v qemu-aarch64-static || true)
command -v aarch64-linux-gnu-g++ > /dev/null && [ -n "$qemu" ] && [ -f $gtest/CMakeLists.txt ] || {
  echo "scripts/test_arm64.sh needs g++-aarch64-linux-gnu, qemu-user and googletest (run scripts/setup.sh)."
  exit 1
}
cmake -S . -B build-arm64 --toolchain cmake/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=Release \
  -DBAYESMEX_OCTAVE=OFF -DBAYESMEX_TESTS=ON -DBAYESMEX_GTEST_SOURCE=$gtest -DBAYESMEX_WERROR=OFF "$@" \
  > build-arm64.log 2>&1 || { cat build-arm64.log; exit 1; }
cmake --build build-arm64 -j2 >> build-arm64.log 2>&1 || { tail -50 build-arm64.log; exit 1; }
(cd build-arm64 && ctest --output-on-failure -j2)

[ -f build/CMakeCache.txt ] || bash scripts/build.sh "$@"
cmake --build build -j2 --target bits_digest >> build-arm64.log 2>&1 || { tail -50 build-arm64.log; exit 1; }
build/tests/bits_digest > build-arm64/digest-native.txt
"$qemu" -L $root build-arm64/tests/bits_digest > build-arm64/digest-arm64.txt
if cmp -s build-arm64/digest-native.txt build-arm64/digest-arm64.txt; then
  echo "arm64: every module gives the bits of $(uname -m), case for case ($(wc -l < build-arm64/digest-arm64.txt) digests)."
  exit 0
fi
diff build-arm64/digest-native.txt build-arm64/digest-arm64.txt || true
if diff <(grep '^libm ' build-arm64/digest-native.txt) <(grep '^libm ' build-arm64/digest-arm64.txt) > /dev/null; then
  echo "arm64: modules differ from $(uname -m) where the C library's functions agree."
  exit 1
fi
echo "arm64: the C libraries' functions differ (lines 'libm' above), so do the modules that call them."
