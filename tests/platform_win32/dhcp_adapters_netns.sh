#!/usr/bin/env bash
# The adapters the Windows DHCP renewal acts on, under Wine in a PC network namespace: beside the
# link to the modem, an adapter that is switched off and a tunnel. Only the modem's link may be
# listed, and the system's debug log names the other two with their reasons. Nothing is renewed.
# Root only (namespaces). Usage: dhcp_adapters_netns.sh PLATFORM_WIN32_PROBE
set -euo pipefail
probe=${1:?usage: dhcp_adapters_netns.sh PLATFORM_WIN32_PROBE}
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ "${2:-}" = --inside ]; then
  # In the PC's namespace: Wine's server must start here to see its adapters.
  work=$3
  WINE_ENV_PRIVATE=1
  # shellcheck source=../gui_win32/wine_env.sh
  . "$repo/tests/gui_win32/wine_env.sh"
  trap wine_env_cleanup EXIT
  # The debug log of the program, and nothing else of Wine's.
  export WINEDEBUG=-all,warn+debugstr
  cd "$work"
  wine_run "$work/wine.log" "$probe" dhcp-adapters adapters.txt || fail "the probe failed: $?"
  exit 0
fi

[ "$(id -u)" -eq 0 ] || fail "network namespaces need root"
# shellcheck source=../../scripts/netns-lib.sh
. "$repo/scripts/netns-lib.sh"
work=$(mktemp -d /tmp/quillon-wine-dhcp.XXXXXX)
trap 'netns_down; rm -rf "$work"' EXIT
netns_up qwd "$work"
pc=$netns_pc
# A cable whose adapter was switched off, and a tunnel of a VPN client.
ip link add off_pc netns "$pc" type veth peer name off_modem netns "$netns_modem"
ip -n "$pc" addr add 192.0.2.7/24 dev off_pc
ip -n "$netns_modem" link set off_modem up
ip -n "$pc" tuntap add dev tun_pc mode tun
ip -n "$pc" addr add 192.0.2.200 peer 192.0.2.201 dev tun_pc
ip -n "$pc" link set tun_pc up

ip netns exec "$pc" bash "$0" "$probe" --inside "$work"
# A Windows text file: one name a line, with CR LF.
listed=$(tr -d '\r' <"$work/adapters.txt")
echo "adapters listed for the renewal:"
echo "$listed"
echo "debug log:"
grep 'OutputDebugString' "$work/wine.log" || true

[ "$listed" = "$netns_pc_if" ] || fail "expected only $netns_pc_if"
grep -q "leaves off_pc as it is: no cable connected, or switched off" "$work/wine.log" ||
  fail "the switched-off adapter is not logged as skipped"
grep -q "leaves tun_pc as it is: not an Ethernet adapter" "$work/wine.log" ||
  fail "the tunnel is not logged as skipped"
if grep -q "leaves $netns_pc_if " "$work/wine.log"; then fail "the modem's link was skipped"; fi
echo "PASS"
