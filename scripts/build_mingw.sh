#!/bin/bash
# Cross-compiles the libraries and the modules for 64-bit Windows with
# MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix) against the stand-in host's
# headers, into build-mingw/: each library source and module with the flags of
# the CMake build and -Werror, the stand-in libmx as mx.dll, an import library
# for the libmex functions the modules call (libmex.dll is the host's:
# its call-back code loads modules with dlopen and is not built here), and
# each module as NAME.mexw64 exporting only mexFunction (the C++ and thread
# runtimes linked in statically).  It shows that the code compiles and links
# for Windows; nothing is run: the modules are untested on Windows, and their
# bits there rest on MinGW-w64's and msvcrt's mathematical functions.
set -euo pipefail
cd "$(dirname "$0")/.."
cxx=x86_64-w64-mingw32-g++-posix
command -v $cxx > /dev/null || { echo "scripts/build_mingw.sh needs g++-mingw-w64-x86-64-posix."; exit 1; }
out=build-mingw
rm -rf $out && mkdir -p $out/obj
flags=(-std=c++17 -O2 -fno-fast-math -ffp-contract=off -fno-math-errno -Wall -Wextra -Werror
       -DBAYESMEX_STANDIN)
# The manifest's libraries and modules (its format: cmake/manifest.cmake).
lib_sources=$(awk '$1 == "library" {for (i = 3; i <= NF && $i != ":"; ++i) print $i}' manifest.txt)
modules=$(awk '$1 == "module" {print $2}' manifest.txt)
includes=(-Ihost/standin)
for d in $(for s in $lib_sources; do dirname "$s"; done | sort -u); do includes+=(-I"$d"); done
objs=()
for s in $lib_sources; do
  o=$out/obj/$(echo "$s" | tr / _).o
  $cxx "${flags[@]}" "${includes[@]}" -c "$s" -o "$o"
  objs+=("$o")
done
x86_64-w64-mingw32-ar rcs $out/libbayesmex.a "${objs[@]}"
$cxx "${flags[@]}" -shared host/standin/mx.cpp -o $out/mx.dll -Wl,--out-implib,$out/libmx.a
printf 'LIBRARY libmex.dll\nEXPORTS\nmexCallMATLAB\nmexErrMsgIdAndTxt\nmexFunctionName\nhost_independent_streams\n' > $out/mex.def
x86_64-w64-mingw32-dlltool -d $out/mex.def -l $out/libmex.a
printf 'EXPORTS\nmexFunction\n' > $out/module.def
for m in $modules; do
  $cxx "${flags[@]}" "${includes[@]}" -shared modules/$m.cpp $out/module.def -o $out/$m.mexw64 \
    -L$out -lbayesmex -lmx -lmex -static
done
n=$(ls $out/*.mexw64 | wc -l)
bad=0
for f in $out/*.mexw64; do
  exports=$(x86_64-w64-mingw32-objdump -p "$f" | awk '/\[Ordinal\/Name Pointer\] Table/ {t = 1; next} t && NF == 0 {t = 0} t {print $NF}')
  [ "$exports" = mexFunction ] || { echo "FAIL $f exports: $exports"; bad=1; }
done
[ $bad -eq 0 ] || exit 1
echo "MinGW-w64: $n modules compiled and linked for Windows (x86-64), each exporting only mexFunction; not run."
