#!/bin/bash
# Each deliverable's dynamic symbol table defines exactly what its host
# requires, all with the symbol version MEX (the version definition itself
# appears as an absolute symbol named MEX).
#
# usage: check_exports.sh DIR                 the stand-in host's NAME.mexa64:
#                                             mexFunction alone
#        check_exports.sh DIR OCTAVE_VERSION  Octave's NAME.mex: mexFunction,
#                                             and from Octave 10 on also
#                                             __octave_mex_soversion__, the
#                                             marker its loader checks (Octave
#                                             11 refuses a module without it),
#                                             with liboctmex among the
#                                             libraries the module needs
#
# Local entries are not exports: the aarch64 linker keeps the section
# symbols of .init and .data there.
set -u
dir=$1
version=${2:-}
want=(MEX mexFunction@@MEX)
ext=mexa64
needs=""
if [ -n "$version" ]; then
  ext=mex
  major=${version%%.*}
  if [ "$major" -ge 10 ]; then
    want+=(__octave_mex_soversion__@@MEX)
    needs=liboctmex.so
  fi
fi
expected=$(printf '%s\n' "${want[@]}" | sort)
status=0
count=0
for f in "$dir"/*."$ext"; do
  [ -e "$f" ] || continue
  count=$((count + 1))
  defined=$(readelf --dyn-syms -W "$f" | awk 'NR > 3 && $5 != "LOCAL" && $7 != "UND" && $8 != "" {print $8}' | sort)
  if [ "$defined" != "$expected" ]; then
    echo "FAIL $f exports:"; echo "$defined"; status=1
  elif [ -n "$needs" ] && ! readelf -d "$f" | grep -q "Shared library: \[$needs"; then
    echo "FAIL $f does not link $needs"; status=1
  else
    echo "ok   $(basename "$f"): $(echo $defined)${needs:+, needs $needs}"
  fi
done
[ "$count" -gt 0 ] || { echo "no deliverables (*.$ext) in $dir"; exit 1; }
exit $status
