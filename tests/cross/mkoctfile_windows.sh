#!/bin/bash
# Octave for Windows' mkoctfile and octave-config, as far as the package's
# build (packaging/Makefile.in) uses them, over Debian's MinGW-w64 and the
# Octave headers of this machine (scripts/test_windows.sh runs the package's
# Makefile with it):
#
#   -p VAR               CANONICAL_HOST_TYPE (x86_64-w64-mingw32), API_VERSION
#                        (the headers'), AR (MinGW's archiver)
#   -c SRC -o OBJ [-D..] compiles as mkoctfile on a mingw host does: the
#                        CXXFLAGS of the environment, no PIC flag, and the
#                        two definitions Octave for Windows' octave-config.h
#                        carries that this machine's may not: its libraries
#                        are built with visibility flags (OCTAVE_API and its
#                        kin become __declspec(dllimport)), and with the
#                        polymorphic allocator in Array<T>
#   -o OUT.oct OBJ... LIB... [-Wl,..]
#                        links as mkoctfile on a mingw host does (-shared
#                        -Wl,--export-all-symbols -Wl,--enable-auto-import
#                        -Wl,--enable-runtime-pseudo-reloc, then -loctinterp
#                        -loctave), refusing ELF-only linker options
#
# Octave's DLLs are not here, so the link is made against import libraries
# that stand in for them, holding what the objects take from Octave.  With
# visibility flags a DLL of Octave exports only what its headers declare
# with its API macros, and every such function or variable reaches an
# object as __imp_NAME; a name taken from Octave any other way is not
# exported, and the link fails, naming it.  The only exception: a vtable
# that an object emits for one of Octave's class templates names the
# template's virtual functions directly, and those that Octave's headers
# declare exported (Array<T>::resize_fill_value, "virtual OCTARRAY_API") are
# listed below.
set -euo pipefail
triple=x86_64-w64-mingw32
cxx=$triple-g++-posix
headers=$(mkoctfile -p INCFLAGS)

if [ "${1:-}" = -p ]; then
  case $2 in
    CANONICAL_HOST_TYPE) echo $triple ;;
    API_VERSION) mkoctfile -p API_VERSION ;;
    AR) echo $triple-ar ;;
    *) echo "mkoctfile_windows.sh: no variable $2" >&2; exit 1 ;;
  esac
  exit 0
fi

out=""; compile=""; args=()
while [ $# -gt 0 ]; do
  case $1 in
    -c) compile=1 ;;
    -o) out=$2; shift ;;
    -Wl,-Bsymbolic* | -Wl,--version-script* | -Wl,-soname* | -Wl,-z,*)
      echo "mkoctfile_windows.sh: ELF-only linker option $1 on a Windows link" >&2; exit 1 ;;
    *) args+=("$1") ;;
  esac
  shift
done
[ -n "$out" ] || { echo "mkoctfile_windows.sh: no -o" >&2; exit 1; }

if [ -n "$compile" ]; then
  # shellcheck disable=SC2086
  exec $cxx -c $headers ${CXXFLAGS:-} -DOCTAVE_ENABLE_LIB_VISIBILITY_FLAGS \
    -DOCTAVE_HAVE_STD_PMR_POLYMORPHIC_ALLOCATOR "${args[@]}" -o "$out"
fi

link=(-shared -Wl,--export-all-symbols -Wl,--enable-auto-import -Wl,--enable-runtime-pseudo-reloc)
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
# First without Octave: what is left undefined is what the objects take from
# it (or a fault of their own, which the second link shows as well).
# shellcheck disable=SC2086
if ! $cxx ${CXXFLAGS:-} -o "$out" "${args[@]}" "${link[@]}" -Wl,--no-demangle 2> "$stubs/first.txt"; then
  sed -n "s/.*undefined reference to \`\\(.*\\)'\$/\\1/p" "$stubs/first.txt" | sort -u > "$stubs/undefined.txt"
  # Exported by their declarations (only the import address: an object may
  # also hold its own copy of an inline vtable or function of the same
  # name), and virtual functions declared exported that vtables name
  # directly (reached through the import library's thunk).
  grep -E '^__imp_' "$stubs/undefined.txt" | sed 's/^__imp_//' > "$stubs/imported.txt" || true
  grep -v -E '^__imp_' "$stubs/undefined.txt" | grep -E '^_ZNK5ArrayI.*17resize_fill_valueEv$' > "$stubs/virtual.txt" || true
  if grep -v -E '^__imp_' "$stubs/undefined.txt" | grep -v -x -F -f "$stubs/virtual.txt" > "$stubs/hidden.txt"; then
    echo "mkoctfile_windows.sh: $out takes what Octave for Windows does not export (or nothing defines):" >&2
    c++filt < "$stubs/hidden.txt" | sed 's/^/  /' >&2
    exit 1
  fi
  { echo "LIBRARY liboctinterp.dll"; echo "EXPORTS"; sed 's/$/ DATA/' "$stubs/imported.txt"
    cat "$stubs/virtual.txt"; } > "$stubs/octinterp.def"
  $triple-dlltool -d "$stubs/octinterp.def" -l "$stubs/liboctinterp.a"
fi
[ -f "$stubs/liboctinterp.a" ] || $triple-ar rcs "$stubs/liboctinterp.a"
$triple-ar rcs "$stubs/liboctave.a"
# shellcheck disable=SC2086
$cxx ${CXXFLAGS:-} -o "$out" "${args[@]}" "${link[@]}" -L"$stubs" -loctinterp -loctave
