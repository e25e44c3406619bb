#!/bin/bash
# K = 4 chains of bayesmex_gibbs run serially, with parcellfun on 2 local
# processes and with netcellfun on a cluster server (package parallel) at
# 127.0.0.1 must draw bit-identical values.
#
# usage: cluster_chains.sh OCTAVE_CLI OCTAVE_BUILD_DIR (the modules and m-files)
#
# The server program refuses to run as root: as root the server runs as the
# unprivileged user nobody (setpriv), from a private folder holding a copy of
# the built modules that user can read.  The server has no authentication
# (--no-auth) and listens on the package's fixed ports; the client connects
# through 127.0.0.1 only.  Every process this script starts is stopped on any
# exit, within a bounded time.  Exit 77 (skipped) when the server program or
# its ports are unavailable.
set -u
octave=${1:?usage}; build=${2:?usage}
server=/usr/libexec/octave-pserver
[ -x "$server" ] || server=$(command -v octave-pserver || true)
if [ -z "$server" ] || [ ! -x "$server" ]; then
  echo "SKIP: no octave-pserver (Debian package octave-parallel)"; exit 77
fi
octave=$(readlink -f "$(command -v "$octave")")
# One server per machine (fixed ports, one pid file): runs of this test from
# several build trees take turns.
lock=/tmp/bayesmex-cluster-test.lock
[ -e "$lock" ] || { : > "$lock" && chmod 666 "$lock"; } 2>/dev/null
exec 9< "$lock"
if ! flock -w 300 9; then
  echo "SKIP: another run of this test held the cluster server for 300 s"; exit 77
fi
if (exec 3<>/dev/tcp/127.0.0.1/12502) 2>/dev/null; then
  echo "SKIP: a cluster server already listens on 127.0.0.1:12502"; exit 77
fi

work=$(mktemp -d)
pidfile=/tmp/.octave-$(hostname).pid
pid=""
stop() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    pkill -TERM -P "$pid" 2>/dev/null   # the server's per-client Octave processes
    kill -TERM "$pid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    pkill -KILL -P "$pid" 2>/dev/null
    kill -KILL "$pid" 2>/dev/null
  fi
  [ -n "$pid" ] && rm -f "$pidfile"
  rm -rf "$work"
}
trap stop EXIT
trap 'exit 1' INT TERM

cp "$build"/*.mex "$build"/*.m "$work"/
chmod 755 "$work"; chmod 644 "$work"/*
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env)
fi
# The server forks into the background and writes its process id to $pidfile.
(cd "$work" && "${as_user[@]}" env HOME="$work" PATH=/usr/bin:/bin \
   "$server" --octave-binary="$octave" --no-auth) > "$work/server.log" 2>&1
for _ in $(seq 100); do
  [ -s "$pidfile" ] && (exec 3<>/dev/tcp/127.0.0.1/12502) 2>/dev/null && break
  sleep 0.1
done
pid=$(cat "$pidfile" 2>/dev/null)
if [ -z "$pid" ]; then
  echo "FAIL: the server did not start"; cat "$work/server.log"; exit 1
fi
echo "server $pid listening on 127.0.0.1:12502 as $(ps -o user= -p "$pid")"

cd "$work"
timeout -k 10 300 "$octave" --no-gui --norc --no-history --quiet --eval "
  pkg load parallel
  addpath('$work');
  c = pconnect({'127.0.0.1'}, struct('use_tls', false));
  try
    out = bayesmex_chains_demo(2026, 4, 400, c);
    ok = out.identical && numel(out.cluster) == 4 && numel(out.local) == 4;
  catch err
    disp(getReport(err)); ok = false;
  end
  sclose(c);
  if ok, disp('CLUSTER TEST PASSED'); else, exit(1); end"
