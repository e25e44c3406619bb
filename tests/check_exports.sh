#!/bin/bash
# Each deliverable's dynamic symbol table defines exactly what its host
# requires.
#
# usage: check_exports.sh DIR           the stand-in host's NAME.mexa64:
#                                       mexFunction alone, with the symbol
#                                       version MEX (the version definition
#                                       itself appears as an absolute symbol
#                                       named MEX)
#        check_exports.sh DIR octave    Octave's oct-files NAME.oct: the
#                                       installer GNAME alone, which Octave's
#                                       loader looks up
#
# Local entries are not exports: the aarch64 linker keeps the section
# symbols of .init and .data there.
set -u
dir=$1
host=${2:-}
ext=mexa64
[ "$host" = octave ] && ext=oct
status=0
count=0
for f in "$dir"/*."$ext"; do
  [ -e "$f" ] || continue
  count=$((count + 1))
  if [ "$host" = octave ]; then
    expected=G$(basename "$f" ".$ext")
  else
    expected=$(printf '%s\n' MEX mexFunction@@MEX | sort)
  fi
  defined=$(readelf --dyn-syms -W "$f" | awk 'NR > 3 && $5 != "LOCAL" && $7 != "UND" && $8 != "" {print $8}' | sort)
  if [ "$defined" != "$expected" ]; then
    echo "FAIL $f exports:"; echo "$defined"; status=1
  else
    echo "ok   $(basename "$f"): $(echo $defined)"
  fi
done
[ "$count" -gt 0 ] || { echo "no deliverables (*.$ext) in $dir"; exit 1; }
exit $status
