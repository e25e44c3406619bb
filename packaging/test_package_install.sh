#!/bin/bash
# Builds the package archive, installs it with `pkg install` into a throwaway
# prefix and package list (the user's own are never read or written), loads
# it in a fresh Octave and runs check_package_install.m there, then checks
# what the installed modules export.
set -euo pipefail
cmake=$1; bindir=$2; tarball=$3; octave=$4; root=$5

"$cmake" --build "$bindir" --target package_octave
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# HOME too, so nothing of the user's configuration or package lists is seen.
HOME=$tmp "$octave" --no-gui --norc --no-history --quiet --eval "
  addpath('$root/packaging');
  addpath('$root/matlab');
  check_package_install('$tarball', '$tmp');"
# The installed functions export their installers, nothing else.
archdir=$(dirname "$(find "$tmp/lib" -name '*.oct' -print -quit)")
bash "$root/tests/check_exports.sh" "$archdir" octave
echo "PACKAGE TEST PASSED"
