#!/bin/bash
# Each deliverable's dynamic symbol table defines exactly one symbol,
# mexFunction, with the symbol version MEX (the version definition itself
# appears as an absolute symbol named MEX).  Local entries are not exports:
# the aarch64 linker keeps the section symbols of .init and .data there.
set -u
dir=$1
status=0
count=0
for f in "$dir"/*.mexa64; do
  count=$((count + 1))
  defined=$(readelf --dyn-syms -W "$f" | awk 'NR > 3 && $5 != "LOCAL" && $7 != "UND" && $8 != "" {print $8}' | sort)
  if [ "$defined" != "$(printf 'MEX\nmexFunction@@MEX')" ]; then
    echo "FAIL $f exports:"; echo "$defined"; status=1
  else
    echo "ok   $(basename "$f"): mexFunction@@MEX"
  fi
done
[ "$count" -gt 0 ] || { echo "no deliverables in $dir"; exit 1; }
exit $status
