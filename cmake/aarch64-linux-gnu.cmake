# Cross build for 64-bit ARM Linux (aarch64) with Debian's cross compilers
# (g++-aarch64-linux-gnu), the tests run under user-mode QEMU (qemu-user):
#   cmake -S . -B build-arm64 --toolchain cmake/aarch64-linux-gnu.cmake \
#         -DBAYESMEX_OCTAVE=OFF -DBAYESMEX_TESTS=ON \
#         -DBAYESMEX_GTEST_SOURCE=/usr/src/googletest
# (scripts/test_arm64.sh does this).  GoogleTest is compiled from its sources
# with the cross compiler: the installed libgtest is built for the build
# machine.  aarch64 has no x86 width dispatch: kernels run the 1- and 2-lane
# instances (generic vectors on Advanced SIMD), as on Apple-silicon Macs and
# ARM Linux machines.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(BAYESMEX_CROSS_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${BAYESMEX_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${BAYESMEX_CROSS_TRIPLE}-g++)

# Libraries, headers and packages from the target's root only; programs
# (readelf, bash) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${BAYESMEX_CROSS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest runs every test executable through QEMU, with the target's dynamic
# loader and C library from the cross root.  Debian names the emulator
# qemu-aarch64 (qemu-user) or qemu-aarch64-static (qemu-user-static).
find_program(BAYESMEX_QEMU NAMES qemu-aarch64 qemu-aarch64-static)
if(BAYESMEX_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${BAYESMEX_QEMU} -L /usr/${BAYESMEX_CROSS_TRIPLE})
endif()
