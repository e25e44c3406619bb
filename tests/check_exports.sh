#!/bin/bash
# Each deliverable's dynamic symbol table defines exactly what its host
# requires.
#
# usage: check_exports.sh DIR           the stand-in host's NAME.mexa64:
#                                       mexFunction alone, with the symbol
#                                       version MEX (the version definition
#                                       itself appears as an absolute symbol
#                                       named MEX); NAME.mexw64 (Windows):
#                                       mexFunction alone in its export table
#        check_exports.sh DIR octave    Octave's oct-files NAME.oct: the
#                                       installer GNAME alone, which Octave's
#                                       loader looks up; on Windows, where
#                                       mkoctfile exports every symbol of an
#                                       oct-file (-Wl,--export-all-symbols),
#                                       the installer among them
#
# Local entries are not exports: the aarch64 linker keeps the section
# symbols of .init and .data there.  A Windows (PE) file has no symbol
# versions and no interposition: each DLL binds its own references when it
# is linked, so exports there are only what its host can look up.
set -u
dir=$1
host=${2:-}
exts=(mexa64 mexw64)
[ "$host" = octave ] && exts=(oct)
# The export table of a PE file, one name a line, as objdump -p prints it.
pe_exports() {
  objdump -p "$1" | awk '/\[Ordinal\/Name Pointer\] Table/ {t = 1; next} t && NF == 0 {t = 0} t {print $NF}' | sort
}
status=0
count=0
for ext in "${exts[@]}"; do
  for f in "$dir"/*."$ext"; do
    [ -e "$f" ] || continue
    count=$((count + 1))
    base=$(basename "$f" ".$ext")
    if [ "$(head -c 2 "$f")" = MZ ]; then
      defined=$(pe_exports "$f")
      if [ "$host" = octave ]; then
        ok=$(grep -qx "G$base" <<< "$defined" && echo 1)
      else
        ok=$([ "$defined" = mexFunction ] && echo 1)
      fi
    else
      if [ "$host" = octave ]; then
        expected=G$base
      else
        expected=$(printf '%s\n' MEX mexFunction@@MEX | sort)
      fi
      defined=$(readelf --dyn-syms -W "$f" | awk 'NR > 3 && $5 != "LOCAL" && $7 != "UND" && $8 != "" {print $8}' | sort)
      ok=$([ "$defined" = "$expected" ] && echo 1)
    fi
    if [ -z "$ok" ]; then
      echo "FAIL $f exports:"; echo "$defined"; status=1
    elif [ "$(wc -l <<< "$defined")" -gt 3 ]; then
      echo "ok   $(basename "$f"): G$base among $(wc -l <<< "$defined") exports"
    else
      echo "ok   $(basename "$f"): $(echo $defined)"
    fi
  done
done
[ "$count" -gt 0 ] || { echo "no deliverables (${exts[*]/#/*.}) in $dir"; exit 1; }
exit $status
