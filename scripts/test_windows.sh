#!/bin/bash
# Cross-builds the stand-in host, the libraries, the modules and the unit
# tests for 64-bit Windows with MinGW-w64 into build-windows/ and runs them
# through CTest under Wine (a prefix of its own in build-windows/wine, made on
# the first run); checks that no module moves an aligned AVX vector to or
# from the stack, and that the threaded kernels compile with the win32 thread
# model.  Then it compares the bits every module gives for fixed
# inputs (tests/cross/bits_digest.cpp) with those of the native build in
# build/ (built first if missing), as scripts/test_arm64.sh does: a module that
# differs while the C library's functions agree fails, and so does any module
# that calls none of them (those give the same bits on every IEEE machine);
# where the C libraries differ the modules that call them are reported, not
# failed.  Then it builds the Octave package as `pkg install` would on
# Octave for Windows (tests/cross/mkoctfile_windows.sh).  Needs
# g++-mingw-w64-x86-64-posix, wine, googletest's sources and Octave's headers
# (scripts/setup.sh installs them).  Extra arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
triple=x86_64-w64-mingw32
gtest=/usr/src/googletest
out=build-windows
wine=$(command -v wine || command -v wine-stable || true)
command -v $triple-g++-posix > /dev/null && [ -n "$wine" ] && [ -f $gtest/CMakeLists.txt ] || {
  echo "scripts/test_windows.sh needs g++-mingw-w64-x86-64-posix, wine and googletest (run scripts/setup.sh)."
  exit 1
}
log=$PWD/build-windows.log
cmake -S . -B $out --toolchain cmake/$triple.cmake -DCMAKE_BUILD_TYPE=Release \
  -DBAYESMEX_OCTAVE=OFF -DBAYESMEX_TESTS=ON -DBAYESMEX_GTEST_SOURCE=$gtest -DBAYESMEX_WERROR=OFF "$@" \
  > "$log" 2>&1 || { cat "$log"; exit 1; }
cmake --build $out -j2 >> "$log" 2>&1 || { tail -50 "$log"; exit 1; }

# Wine: a prefix of our own, no debug channels, and a search path holding the
# stand-in's libmx.dll and libmex.dll and the compiler's runtime DLLs (the
# C++ library, libgcc and winpthreads).  The prefix is made before CTest
# starts two tests at once.
export WINEPREFIX=$PWD/$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
winpath() { printf 'Z:%s' "$(cd "$1" && pwd | tr / '\\')"; }
runtime=()
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  runtime+=("$(winpath "$(dirname "$($triple-g++-posix -print-file-name=$dll)")")")
done
WINEPATH=$(winpath $out/mexa64)$(printf ';%s' "${runtime[@]}")
export WINEPATH
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot --init >> "$log" 2>&1 || true
  wineserver -w 2> /dev/null || true
fi
(cd $out && ctest --output-on-failure -j2)

# MinGW's GCC keeps the stack 16-byte aligned and does not realign it for the
# 32- and 64-byte vectors of the AVX2 and AVX-512 kernels (GCC bug 54412): an
# aligned vector move to or from a stack slot faults whenever the slot is
# not, so no module may hold one.
for f in $out/mexa64/*.mexw64; do
  if $triple-objdump -d --no-show-raw-insn "$f" | grep -E 'vmova(pd|ps)|vmovdqa' |
     grep -E '%[yz]mm' | grep -E '\(%r[sb]p[,)]'; then
    echo "Windows: $f moves an aligned AVX vector to or from the stack."
    exit 1
  fi
done

# The C runtime's threads: with the win32 thread model (a libstdc++ that may
# not start threads) the kernels that take threads and their gateways still
# compile (a gateway with its argument form, as the build compiles it).
if command -v $triple-g++-win32 > /dev/null; then
  for f in distance/metric.cpp special/digamma.cpp special/tanh.cpp; do
    $triple-g++-win32 -std=c++17 -fsyntax-only -Wall -Wextra -Werror "$f"
  done
  for m in metric_pairwise psi_eval hyptan_fast; do
    $triple-g++-win32 -std=c++17 -fsyntax-only -Wall -Wextra -Werror -DBAYESMEX_STANDIN \
      -DBAYESMEX_FUNCTION=$m -Ihost/standin -I$out/generated modules/$m.cpp
  done
  echo "win32 thread model: the threaded kernels compile."
fi

# The digest, against the native build's.
[ -f build/CMakeCache.txt ] || bash scripts/build.sh "$@"
cmake --build build -j2 --target bits_digest >> "$log" 2>&1 || { tail -50 "$log"; exit 1; }
build/tests/bits_digest > $out/digest-native.txt
"$wine" $out/tests/bits_digest.exe | tr -d '\r' > $out/digest-windows.txt
status=0
if cmp -s $out/digest-native.txt $out/digest-windows.txt; then
  echo "Windows: every module gives the bits of $(uname -m) Linux, case for case ($(wc -l < $out/digest-windows.txt) digests)."
else
  # Lines in the same order on both: the case name (44 columns), the count
  # and the digest.
  differ=$(paste -d '\n' $out/digest-native.txt $out/digest-windows.txt |
           awk 'NR % 2 { a = $0; next } a != $0 { print substr(a, 1, 44) }' | sed 's/ *$//')
  n=$(grep -c . <<< "$differ")
  echo "Windows: $n of $(wc -l < $out/digest-native.txt) digest lines differ from $(uname -m) Linux:"
  sed 's/^/  /' <<< "$differ"
  # These call no C library function: IEEE arithmetic in a fixed order.
  exact='^(bayesmex_seed|particles_(multinomial|residual|stratified|deterministic|systematic)|hyptan_fast|metric_pairwise)\('
  if grep -E "$exact" <<< "$differ"; then
    echo "Windows: the modules above call no C library function, yet differ."
    status=1
  elif ! grep -q '^libm ' <<< "$differ"; then
    echo "Windows: modules differ where the C library's functions agree."
    status=1
  else
    echo "Windows: the C libraries' functions differ (lines 'libm'), so do the modules that call them."
  fi
fi
[ $status -eq 0 ] || exit 1

# The Octave package, built by its own Makefile as `pkg install` runs it on
# Octave for Windows, with a mkoctfile that compiles and links as that one
# does (tests/cross/mkoctfile_windows.sh: MinGW-w64, this machine's Octave
# headers with Windows' definitions, import libraries standing in for
# Octave's DLLs): every source compiles, every oct-file links as a DLL taking
# from Octave only what Octave for Windows exports, and exports its installer.
if command -v mkoctfile > /dev/null; then
  pkg=$out/package
  rm -rf $pkg && mkdir -p $pkg
  bash packaging/make_octave_package.sh $pkg >> "$log" 2>&1
  tar -xzf $pkg/bayesmex-*.tar.gz -C $pkg
  fake="bash $PWD/tests/cross/mkoctfile_windows.sh"
  make -C $pkg/bayesmex/src -j2 MKOCTFILE="$fake" OCTAVE_CONFIG="$fake" >> "$log" 2>&1 ||
    { tail -30 "$log"; echo "Windows: the Octave package does not build."; exit 1; }
  bash tests/check_exports.sh $pkg/bayesmex/src octave > $pkg/exports.txt || { cat $pkg/exports.txt; exit 1; }
  help=$(ls $pkg/bayesmex/inst/$triple-*/*.m | wc -l)
  echo "Windows: the Octave package builds $(ls $pkg/bayesmex/src/*.oct | wc -l) oct-files (MinGW-w64, Octave $(mkoctfile -p OCTAVE_VERSION)'s headers), each exporting its installer, $help help texts beside them."
else
  echo "Windows: no mkoctfile (Debian: octave-dev), so the Octave package's Windows build is not checked."
fi

echo "scripts/test_windows.sh: $(( $(date +%s) - start )) s."
