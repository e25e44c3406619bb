#!/bin/bash
# Builds and tests this tree on the Octave releases other Debian releases ship:
# Debian 13 (trixie, Octave 9.4) and Debian unstable (sid, Octave 11.3), each
# in a root made with debootstrap on this machine (Debian 12 itself, Octave
# 7.3, is what the ordinary test command covers).  In each root, as on a new
# machine: scripts/setup.sh installs Octave and the build tools, then
# `scripts/test.sh --quick` builds from a clean copy of the tree (the
# committed tree with any uncommitted changes to tracked files, from git) and
# runs the stand-in and Octave suites through CTest, which include the Octave
# exports check, the package install test (`pkg install` of the package
# archive) and the cluster test.  With --full, `scripts/demo.sh` and the full
# `scripts/test.sh` (sanitizers, fuzzing, mutation probe) instead.
#
# usage: scripts/test_octave_versions.sh [--full] [--keep] [--fresh] [SUITE...]
#   SUITE    trixie, sid (default: both, one after the other)
#   --keep   keep each run's root (its folder is printed) instead of deleting it
#   --fresh  make the base roots anew even if cached
# Needs root (debootstrap, chroot, mounts) and the network to the mirror.
#
# Cache (BAYESMEX_ROOTS, default /var/cache/bayesmex-roots), outside the tree:
#   base-SUITE/   the root as debootstrap --variant=minbase leaves it (only
#                 debootstrap's own packages) plus apt settings; made once,
#                 made anew when older than BAYESMEX_BASE_DAYS (default 14)
#                 days or with --fresh
#   debs-SUITE/   the .deb files apt downloaded, bind-mounted as the root's
#                 /var/cache/apt/archives, so that a run downloads only what
#                 changed on the mirror
#   run-SUITE.*/  one run's throwaway copy of base-SUITE, deleted at exit
#   logs/SUITE.log  the last run's output
# No run reuses an installed root: every run copies the base root and
# setup.sh installs everything on it, so a missing install step fails here
# as on a new machine; only downloads are cached.
#
# The mirror is the one this machine's apt uses (/etc/apt/sources.list*), or
# BAYESMEX_MIRROR.  Its unstable Release file may be past its Valid-Until
# date, so the roots' apt does not check that date.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${BAYESMEX_ROOTS:-/var/cache/bayesmex-roots}
max_days=${BAYESMEX_BASE_DAYS:-14}
full=""; keep=""; fresh=""; suites=()
for a in "$@"; do
  case $a in
    --full) full=1 ;;
    --keep) keep=1 ;;
    --fresh) fresh=1 ;;
    trixie|sid) suites+=("$a") ;;
    *) echo "usage: $0 [--full] [--keep] [--fresh] [trixie|sid]..." >&2; exit 2 ;;
  esac
done
[ ${#suites[@]} -gt 0 ] || suites=(trixie sid)
if [ "$(id -u)" -ne 0 ]; then
  echo "$0: needs root (debootstrap, chroot and mounts)" >&2; exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! command -v debootstrap > /dev/null; then
  apt-get install -y -qq --no-install-recommends debootstrap > /dev/null
fi

# The first Debian archive (not the security one) of apt's sources.
mirror=${BAYESMEX_MIRROR:-}
if [ -z "$mirror" ]; then
  mirror=$( { sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | tr ' ' '\n'
              sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\).*/\2/p' \
                  /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null
            } | grep -E '^https?://.*/debian/?$' | head -n 1)
fi
[ -n "$mirror" ] || { echo "$0: no Debian mirror in /etc/apt/sources.list*; set BAYESMEX_MIRROR" >&2; exit 1; }

mkdir -p "$cache/logs"
run=""
# Unmounts everything under the run's root, deepest first, then deletes the
# root, never while anything is still mounted there.
cleanup() {
  local r=$run
  run=""
  [ -n "$r" ] || return 0
  local m
  for m in $(awk -v r="$r/" 'index($2, r) == 1 {print $2}' /proc/self/mounts | sort -r); do
    umount "$m" 2>/dev/null || umount -l "$m"
  done
  if awk -v r="$r/" 'index($2, r) == 1 {found = 1} END {exit !found}' /proc/self/mounts; then
    echo "$0: $r still has mounts; left in place" >&2
  elif [ -n "$keep" ]; then
    echo "kept: $r"
  else
    rm -rf --one-file-system "$r"
  fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# base-SUITE: made by debootstrap when missing, too old or --fresh.
make_base() {
  local suite=$1 base=$cache/base-$1
  if [ -z "$fresh" ] && [ -f "$base/.bayesmex-base" ] &&
     [ -n "$(find "$base/.bayesmex-base" -mtime -"$max_days")" ]; then
    return 0
  fi
  echo "== $suite: debootstrap from $mirror"
  local t0=$SECONDS tmp=$cache/base-$suite.new
  rm -rf --one-file-system "$tmp"
  debootstrap --variant=minbase "$suite" "$tmp" "$mirror" > "$cache/logs/debootstrap-$suite.log" 2>&1 ||
    { tail -n 30 "$cache/logs/debootstrap-$suite.log"; exit 1; }
  echo 'Acquire::Check-Valid-Until "false";' > "$tmp/etc/apt/apt.conf.d/99bayesmex"
  # A throwaway root needs no fsync after every file dpkg unpacks.
  echo force-unsafe-io > "$tmp/etc/dpkg/dpkg.cfg.d/bayesmex-unsafe-io"
  # No service of an installed package starts inside the root.
  printf '#!/bin/sh\nexit 101\n' > "$tmp/usr/sbin/policy-rc.d"
  chmod 755 "$tmp/usr/sbin/policy-rc.d"
  rm -f "$tmp"/var/cache/apt/archives/*.deb
  date -u > "$tmp/.bayesmex-base"
  rm -rf --one-file-system "$base"
  mv "$tmp" "$base"
  echo "   base root made in $((SECONDS - t0)) s"
}

# The tree as git has it, with uncommitted changes to tracked files (a stash
# commit, which touches neither the work tree nor the stash list).
tree_archive() {
  local rev
  rev=$(git -C "$here" stash create 2>/dev/null || true)
  git -C "$here" archive --format=tar "${rev:-HEAD}"
}

status=0
summary=()
for suite in "${suites[@]}"; do
  t0=$SECONDS
  make_base "$suite"
  run=$(mktemp -d "$cache/run-$suite.XXXXXX")
  cp -a "$cache/base-$suite/." "$run/"
  mkdir -p "$cache/debs-$suite" "$run/src/bayesmex"
  cp /etc/resolv.conf "$run/etc/resolv.conf"
  mount -t proc proc "$run/proc"
  mount -t sysfs sys "$run/sys"
  mount --rbind /dev "$run/dev"
  mount --make-rslave "$run/dev"
  mount --bind "$cache/debs-$suite" "$run/var/cache/apt/archives"
  tree_archive | tar -x -C "$run/src/bayesmex"
  if [ -n "$full" ]; then
    steps='bash scripts/demo.sh && bash scripts/test.sh'
  else
    steps='bash scripts/test.sh --quick'
  fi
  log=$cache/logs/$suite.log
  echo "== $suite: setup.sh, then $steps (log: $log)"
  set +e
  chroot "$run" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb CI="${CI:-}" \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash -c "
    set -euo pipefail
    cd /src/bayesmex
    t=\$SECONDS
    apt-get update -qq
    bash scripts/setup.sh
    echo \"setup: \$((SECONDS - t)) s\"
    echo \"Octave \$(octave-cli --no-history --eval 'disp(OCTAVE_VERSION)'), \$(g++ --version | head -n 1)\"
    t=\$SECONDS
    $steps
    echo \"build and tests: \$((SECONDS - t)) s\"" > "$log" 2>&1
  rc=$?
  set -e
  cleanup
  line=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1 || true)
  info="$suite: $(grep -E '^Octave ' "$log" | head -n 1 || true); ${line:-no CTest summary}; $(grep -E '^setup: ' "$log" || true); $(grep -E '^build and tests: ' "$log" || true); total $((SECONDS - t0)) s"
  # Any error or warning line fails the run, as a failing step does.
  bad=$(grep -E '^(error|warning):' "$log" || true)
  if [ "$rc" -ne 0 ] || [ -n "$bad" ]; then
    echo "FAIL $info (exit $rc)"
    [ -z "$bad" ] || { echo "lines starting with error: or warning::"; echo "$bad" | head -n 20; }
    tail -n 60 "$log"
    status=1
  else
    echo "ok   $info"
  fi
  summary+=("$info")
done
printf '%s\n' "${summary[@]}"
exit $status
