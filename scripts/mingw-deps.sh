#!/usr/bin/env bash
# Builds the one third-party library the Windows build links that Debian does not ship for
# mingw-w64: libjpeg-turbo, from Debian's own source package, as a static library. Idempotent:
# a finished prefix is left alone. As root, a finished build is also kept in a machine-wide cache
# keyed by the compiler and this script, from which another clone of the project takes it instead
# of fetching and building the source again (a fresh machine has no cache and builds it).
# Usage: mingw-deps.sh PREFIX
set -euo pipefail
prefix=${1:?prefix}
here=$(cd "$(dirname "$0")/.." && pwd)
key=$( (i686-w64-mingw32-gcc-posix --version 2>/dev/null | head -n 1; cat "$0") | sha256sum | cut -c1-16)
cache=/var/cache/quillon/mingw-deps-i686-$key

# Copies a finished prefix into the cache once, through a temporary name, so that a cache entry
# is always whole. Only root writes there, and only into root's own folder.
keep_in_cache() {
  [ "$(id -u)" -eq 0 ] && [ ! -e "$cache" ] || return 0
  mkdir -p -m 755 /var/cache/quillon
  [ "$(stat -c %u /var/cache/quillon)" -eq 0 ] || return 0
  local partial
  partial=$(mktemp -d /var/cache/quillon/partial.XXXXXX)
  cp -a "$prefix/." "$partial/" && chmod 755 "$partial" && mv -T "$partial" "$cache" ||
    rm -rf "$partial"
}

if [ -f "$prefix/lib/libjpeg.a" ]; then
  keep_in_cache
  exit 0
fi
if [ -f "$cache/lib/libjpeg.a" ] && [ "$(stat -c %u "$cache")" -eq 0 ]; then
  mkdir -p "$prefix"
  cp -a "$cache/." "$prefix/"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial"
# The source packages come from the mirrors, suites and components the machine takes its binary
# packages from (whatever sources.list or deb822 file names them), through its own proxy settings.
apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Created-By: Packages' |
  sort -u | sed 's/^/deb-src /' >"$work/sources.list"
[ -s "$work/sources.list" ] || { echo "mingw-deps: the machine's apt names no source" >&2; exit 1; }
# A private source list and state, so the machine's own apt configuration is not touched.
apt_opts=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$work/lists" -o APT::Sandbox::User=root)
apt-get -qq "${apt_opts[@]}" update
(cd "$work" && apt-get -qq "${apt_opts[@]}" --download-only source libjpeg-turbo >/dev/null)
tar -xzf "$work"/libjpeg-turbo_*.orig.tar.gz -C "$work"
src=$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
cmake -S "$src" -B "$work/build" -G Ninja --toolchain "$here/cmake/mingw-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF \
  -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -Wno-dev \
  >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
cmake --build "$work/build" --target install >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
keep_in_cache
