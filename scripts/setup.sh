#!/bin/bash
# Installs what the build, the tests and the demo need on Debian 12, as root
# (or through sudo).  Packages already present are left alone.  Octave's
# figures need the FreeSans font and print through Ghostscript, which the
# octave packages only recommend (and recommendations are not installed
# here).  ninja-build makes the mutation probe's incremental rebuilds quick.
set -euo pipefail
packages=(g++ cmake make binutils libgtest-dev octave liboctave-dev gnuplot-nox
          fonts-freefont-otf ghostscript fonts-dejavu-core python3 python3-mpmath
          clang libclang-rt-14-dev octave-parallel ninja-build)
# The arm64 cross build that the full test command runs (scripts/test_arm64.sh):
# the cross compiler and user-mode QEMU, qemu-user where the archive has it,
# else qemu-user-static (either gives qemu-aarch64, the latter as
# qemu-aarch64-static); nothing if an emulator is already there.
packages+=(g++-aarch64-linux-gnu)
if ! command -v qemu-aarch64 > /dev/null && ! command -v qemu-aarch64-static > /dev/null; then
  qemu=qemu-user
  for p in qemu-user qemu-user-static; do
    if apt-cache policy "$p" 2> /dev/null | grep -q 'Candidate: [0-9]'; then qemu=$p; break; fi
  done
  packages+=("$qemu")
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
fi
