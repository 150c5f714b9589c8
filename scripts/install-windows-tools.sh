#!/usr/bin/env bash
# Installs what the Windows build and its smoke suite need on a Debian
# machine: the mingw-w64 i686 cross compiler, the resource compiler that
# comes with it, and Wine with its 32-bit part (which needs dpkg's i386
# architecture). Where the kernel cannot run 32-bit programs, the smoke suite
# runs a 64-bit build under 64-bit Wine instead, so the x86_64 compiler and
# wine64 come too, and a virtual X display for the dialog windows. Exits 0 when everything is there afterwards, 1 otherwise,
# so callers can report the smoke suite as skipped instead of failing.
set -u

have_tools() {
  command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 &&
    command -v i686-w64-mingw32-windres >/dev/null 2>&1 &&
    command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 &&
    test -x /usr/lib/wine/wine64 &&
    command -v Xvfb >/dev/null 2>&1 &&
    command -v wine >/dev/null 2>&1 &&
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'
}

if have_tools; then
  echo "windows tools: already installed"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "windows tools: not root, cannot install" >&2
  exit 1
fi
if ! command -v apt-get >/dev/null 2>&1; then
  echo "windows tools: no apt-get on this machine" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386 || exit 1
fi
apt-get update -q || { echo "windows tools: apt-get update failed" >&2; exit 1; }
apt-get install -y -q --no-install-recommends \
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix \
  wine wine32:i386 wine64 xvfb ||
  { echo "windows tools: apt-get install failed" >&2; exit 1; }

if have_tools; then
  echo "windows tools: installed"
  exit 0
fi
echo "windows tools: installation finished but tools are still missing" >&2
exit 1
