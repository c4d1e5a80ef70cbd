#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need. Idempotent and quiet:
# it asks apt only for what is missing. The Windows build is 32-bit: its tests need Wine's
# 32-bit half, from the i386 architecture. The network managers' tests need a D-Bus daemon,
# systemd-networkd and NetworkManager's libraries; none of them is started here.
set -euo pipefail
packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libjpeg62-turbo-dev libfltk1.3-dev libsystemd-dev pkg-config
  xvfb xdotool imagemagick fonts-dejavu-core x11-utils
  iproute2 dnsmasq-base isc-dhcp-client procps psmisc python3
  dbus-daemon systemd libndp0 libcurl3-gnutls libpsl5 libglib2.0-0 libgnutls30 libaudit1
  mingw-w64 g++-mingw-w64-i686-posix wine wine64 wine32:i386 dpkg-dev xorriso
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages and not root: install them, or run as root" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
