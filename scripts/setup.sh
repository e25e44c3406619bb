#!/bin/bash
# Installs what the build, the tests and the demo need on Debian 12
# (bookworm), 13 (trixie) and unstable (sid), as root (or through sudo).
# Packages already present are left alone.  Octave's figures need the
# FreeSans font and print through Ghostscript, which the octave packages only
# recommend (and recommendations are not installed here).  ninja-build makes
# the mutation probe's incremental rebuilds quick; procps (pkill, ps),
# iproute2 (ip) and util-linux (unshare, setpriv) serve the cluster test.
#
# Names that differ between releases are asked of apt: Octave's development
# files are octave-dev on every release (liboctave-dev is only bookworm's
# old name), and the sanitizer and libFuzzer runtimes are libclang-rt-N-dev
# for the clang N that the release's clang package depends on.
set -euo pipefail
packages=(g++ cmake make binutils libgtest-dev octave octave-dev gnuplot-nox
          fonts-freefont-otf ghostscript fonts-dejavu-core python3 python3-mpmath
          clang octave-parallel ninja-build procps iproute2 util-linux)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
# The clang release: the version in the name of the clang-N package that
# the clang package depends on (installed or candidate).
clang_major() {
  apt-cache depends clang 2>/dev/null | sed -n 's/^ *Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n 1
}
updated=""
update() {
  if [ -z "$updated" ]; then $SUDO apt-get update -qq; updated=1; fi
}
n=$(clang_major)
if [ -z "$n" ]; then update; n=$(clang_major); fi
if [ -z "$n" ]; then
  echo "setup.sh: apt knows no clang package; is the package list up to date?" >&2; exit 1
fi
packages+=("libclang-rt-$n-dev")
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
# The Windows build that the full test command runs (scripts/test_windows.sh):
# MinGW-w64's C++ compiler with the posix thread model, and with the win32
# one (whose C++ library may start no thread) for a compile check, and Wine:
# wine, with the 64-bit loader wine64 where the archive has it (every release
# from 12 to unstable does; wine itself takes wine64 or wine32).
packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 wine)
if apt-cache policy wine64 2> /dev/null | grep -q 'Candidate: [0-9]'; then
  packages+=(wine64)
fi
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  update
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
fi
