#!/usr/bin/env bash
# The wizard's DHCP renewal on a PC whose adapters systemd-networkd configures: the PC namespace
# runs the real daemon on a private system bus, its configuration (DHCP on the modem link) in a
# private mount, and dnsmasq leases addresses in the modem namespace. The renewal must ask the
# daemon to configure the link afresh, which gives up the lease and takes a new one, start no
# client of our own, and leave the daemon keeping the lease after the wizard ends.
set -euo pipefail

probe=${1:?usage: networkd_renewal.sh HOST_PROBE}
networkd=/lib/systemd/systemd-networkd
fail() {
  echo "FAIL: $*" >&2
  [ -z "${work:-}" ] || tail -n 30 "$work/networkd.log" >&2 2>/dev/null || true
  exit 1
}

[ "$(id -u)" -eq 0 ] || fail "network namespaces need root"
for tool in ip dnsmasq dbus-daemon "$networkd"; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
id systemd-network >/dev/null 2>&1 || fail "the systemd-network user is missing"

# shellcheck source=../../scripts/netns-lib.sh
. "$(dirname "$0")/../../scripts/netns-lib.sh"
work=$(mktemp -d /tmp/quillon-netns-networkd.XXXXXX)
chmod 755 "$work"
# A probe left stopped would hold on to the namespace, deaf to netns_down's signal.
trap '[ -z "${late:-}" ] || kill -CONT "$late" 2>/dev/null; netns_down; rm -rf "$work"' EXIT

netns_up qd "$work" "qdp$$" "qdm$$"
pc=$netns_pc
pc_if=$netns_pc_if
# The link keeps its IPv6 link-local address, without which the daemon never calls it configured,
# and starts with the file's static address alone: the DHCP server does not answer yet.
ip -n "$pc" -4 addr flush dev "$pc_if"
netns_private_bus || fail "the private bus did not start"

mkdir "$work/network"
printf '[Match]\nName=%s\n[Network]\nAddress=198.51.100.10/24\nDHCP=ipv4\n' "$pc_if" \
  >"$work/network/50-modem.network"
# Its run folder and configuration are a private mount's; with /sys read-only it waits for no
# device manager, as in a container.
start_networkd() {
  ip netns exec "$pc" unshare -m --propagation private sh -c '
    mount -t tmpfs tmpfs /run && mkdir -p /run/systemd/netif &&
    chown systemd-network:systemd-network /run/systemd/netif &&
    mount --bind "$1/network" /etc/systemd/network && mount -o remount,bind,ro /sys &&
    exec "$0"' "$networkd" "$work" >>"$work/networkd.log" 2>&1 &
  networkd_pid=$!
}
start_networkd
leases() { grep -c "DHCPv4 address" "$work/networkd.log" || true; }
renew() {
  local started
  started=$(date +%s%N)
  QUILLON_DHCP_STATE_DIR="$work/state" ip netns exec "$pc" "$probe" renew >"$work/renew.out" ||
    fail "the renewal returned $?: $(cat "$work/renew.out")"
  took_ms=$((($(date +%s%N) - started) / 1000000))
  echo "renewal took $took_ms ms"
}
for _ in $(seq 100); do
  ip -n "$pc" -4 -o addr show dev "$pc_if" | grep -q '198\.51\.100\.10/' && break
  sleep 0.1
done
# Its offers come a second late, so that a renewal reported done before the new lease, on the
# static address that is back at once, is caught.
netns_dnsmasq dhcp --dhcp-reply-delay=1 || fail "dnsmasq did not start"
renew
[ "$(leases)" -ge 1 ] || fail "the renewal of a link without a lease ended before its first lease"
[ "$took_ms" -lt 8000 ] || fail "the first lease was not seen"

renew
[ "$(leases)" -ge 2 ] || fail "the renewal ended before the new lease"
[ "$took_ms" -lt 8000 ] || fail "the renewal waited out its time-out instead of the new lease"
grep -q "DHCP lease lost" "$work/networkd.log" || fail "the lease was not given up"
[ ! -e "$work/state" ] || fail "a DHCP client of our own was prepared beside systemd-networkd"

sleep 1
addresses=$(ip -n "$pc" -4 -o addr show dev "$pc_if")
echo "$addresses"
leased=$(echo "$addresses" | grep -oE '198\.51\.100\.1[0-5][0-9]' | head -n1)
[ -n "$leased" ] && echo "$addresses" | grep -q dynamic || fail "the lease went away after the wizard"
grep -q " $leased " "$work/dnsmasq.leases" || fail "dnsmasq has no lease for $leased"

# A wizard that looks only after the daemon has given up the lease and taken it again, as on a
# loaded machine where the DHCP server is quicker than the wizard, must still see the renewal:
# the probe stops once it has asked and goes on when the new lease is in the daemon's log.
leases_before=$(leases)
ip netns exec "$pc" "$probe" renew-late "$pc_if" >"$work/late.out" &
late=$!
for _ in $(seq 100); do
  grep -q '^State:.*stopped' "/proc/$late/status" 2>/dev/null && break
  sleep 0.1
done
grep -q '^State:.*stopped' "/proc/$late/status" || fail "the probe did not stop after asking"
for _ in $(seq 100); do
  [ "$(leases)" -gt "$leases_before" ] && break
  sleep 0.1
done
[ "$(leases)" -gt "$leases_before" ] || fail "no new lease while the wizard was not looking"
kill -CONT "$late"
wait "$late" || fail "a renewal done before the wizard looked was missed: $(cat "$work/late.out")"
late=

# A daemon restarted while the wizard waits takes the lease up afresh; one that does not answer
# still owns the adapter, and the wizard puts no client of its own beside it.
leases_before=$(leases)
renew &
renewing=$!
sleep 0.3
kill "$networkd_pid"
wait "$networkd_pid" || true
start_networkd
wait "$renewing" || fail "a renewal across the daemon's restart failed"
[ "$(leases)" -gt "$leases_before" ] || fail "the renewal ended before the restarted daemon's lease"
kill -STOP "$networkd_pid"
renew
kill -CONT "$networkd_pid"
[ ! -e "$work/state" ] || fail "a DHCP client of our own was prepared beside a silent daemon"
[ "$took_ms" -lt 8000 ] || fail "the wizard waited $took_ms ms for a silent daemon"
echo "PASS"
