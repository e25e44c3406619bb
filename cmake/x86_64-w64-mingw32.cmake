# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix:
# the posix thread model, whose C++ library starts threads), the tests run
# under Wine:
#   cmake -S . -B build-windows --toolchain cmake/x86_64-w64-mingw32.cmake \
#         -DBAYESMEX_OCTAVE=OFF -DBAYESMEX_TESTS=ON \
#         -DBAYESMEX_GTEST_SOURCE=/usr/src/googletest
# (scripts/test_windows.sh does this, and sets WINEPATH so that the tests find
# libmx.dll, libmex.dll and the compiler's runtime DLLs).  The C++ runtime
# stays in its DLLs, as in Octave for Windows, so one C++ library serves the
# host and every module.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BAYESMEX_CROSS_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BAYESMEX_CROSS_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BAYESMEX_CROSS_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BAYESMEX_CROSS_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BAYESMEX_CROSS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest runs every test executable through Wine (Debian: wine, with wine64).
find_program(BAYESMEX_WINE NAMES wine wine64 wine-stable)
if(BAYESMEX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${BAYESMEX_WINE})
endif()
