#!/bin/bash
# Builds the package archive and installs it as an ordinary user does, with
# `pkg install` and pkg's own default prefix, into a throwaway home (the
# user's own packages and lists are never read or written); checks it there
# with check_package_install.m; then, in a fresh Octave as a user starts one,
# runs lookfor on the installed package and on the build tree, and installs
# again over the loaded package (check_package_routes.m); last, checks what
# the installed modules export.
set -euo pipefail
cmake=$1; bindir=$2; tarball=$3; octave=$4; root=$5

"$cmake" --build "$bindir" --target package_octave
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# HOME, and no XDG folder of the caller's, so pkg's default prefix
# (~/.local/share/octave/...) and package list (~/.config/octave/...) are the
# throwaway's.
user_octave() {
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$tmp" \
    "$octave" --no-gui --norc --no-history --quiet --eval \
    "addpath('$root/packaging'); addpath('$root/matlab'); addpath('$root/tests/octave'); $1"
}
user_octave "check_package_install('$tarball', '$tmp', '$root/README.md');"
user_octave "check_package_routes('$tarball', '$tmp', '$bindir/octave');"
# The installed functions export their installers, nothing else.
archdir=$(dirname "$(find "$tmp" -name '*.oct' -print -quit)")
bash "$root/tests/check_exports.sh" "$archdir" octave
echo "PACKAGE TEST PASSED"
