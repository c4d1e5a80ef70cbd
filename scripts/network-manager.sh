#!/usr/bin/env bash
# Unpacks Debian's NetworkManager daemon into PREFIX for the test that renews a lease through it,
# without installing it: an installed network manager would take the machine's own adapters. Its
# libraries are ordinary packages (scripts/deps.sh). Idempotent; as root, the unpacked package is
# kept in a machine-wide cache keyed by its version, from which another clone takes it offline.
# Usage: network-manager.sh PREFIX
set -euo pipefail
prefix=${1:?prefix}
version=$(apt-cache policy network-manager | sed -n 's/^ *Candidate: //p')
[ -n "$version" ] && [ "$version" != "(none)" ] || {
  echo "network-manager.sh: apt knows no network-manager package" >&2
  exit 1
}
cache=/var/cache/quillon/network-manager-$version
daemon=usr/sbin/NetworkManager

[ -x "$prefix/$daemon" ] && [ "$(cat "$prefix/version" 2>/dev/null)" = "$version" ] && exit 0
rm -rf "$prefix"
mkdir -p "$prefix"
if [ -x "$cache/$daemon" ] && [ "$(stat -c %u "$cache")" -eq 0 ]; then
  cp -a "$cache/." "$prefix/"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get -qq -o APT::Sandbox::User=root download "network-manager=$version")
dpkg-deb -x "$work"/network-manager_*.deb "$prefix"
echo "$version" >"$prefix/version"
# Only root writes the cache, and only into root's own folder, through a temporary name so that
# an entry is always whole.
if [ "$(id -u)" -eq 0 ] && [ ! -e "$cache" ]; then
  mkdir -p -m 755 /var/cache/quillon
  if [ "$(stat -c %u /var/cache/quillon)" -eq 0 ]; then
    partial=$(mktemp -d /var/cache/quillon/partial.XXXXXX)
    cp -a "$prefix/." "$partial/" && chmod 755 "$partial" && mv -T "$partial" "$cache" ||
      rm -rf "$partial"
  fi
fi
