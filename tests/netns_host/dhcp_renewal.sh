#!/usr/bin/env bash
# The wizard's DHCP renewal against a real DHCP server: a PC namespace and a modem namespace
# joined by a veth pair on TEST-NET-2, dnsmasq serving leases in the modem namespace. The PC side
# starts with a static address and must end with a lease from dnsmasq's range. Everything is
# created with names unique to this run and removed on exit, whatever the outcome.
set -euo pipefail

probe=${1:?usage: dhcp_renewal.sh HOST_PROBE}
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[ "$(id -u)" -eq 0 ] || fail "network namespaces need root"
for tool in ip dnsmasq dhclient; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

# shellcheck source=../../scripts/netns-lib.sh
. "$(dirname "$0")/../../scripts/netns-lib.sh"
work=$(mktemp -d /tmp/quillon-netns-host.XXXXXX)
# The DHCP client the renewal starts keeps its pid file in the state folder.
trap 'netns_down "$work"/state/*.pid; rm -rf "$work"' EXIT

# No default route: the lease must bring it. The link's names are the run's own, as the adapter
# list below names the PC's.
netns_up qh "$work" "qhp$$" "qhm$$"
pc=$netns_pc
pc_if=$netns_pc_if

resolv_before=$(sha256sum /etc/resolv.conf 2>/dev/null || true)
hostname_before=$(hostname)

netns_dnsmasq dhcp --address=/modem.example/198.51.100.1 --local=/example/ || fail "dnsmasq did not start"

run_renewal() {
  QUILLON_DHCP_STATE_DIR="$work/state" ip netns exec "$pc" "$probe" renew ||
    fail "the renewal returned $?"
}

# Prints the PC adapter's IPv4 addresses, one "address flags" line each.
pc_addresses() {
  ip -n "$pc" -4 -o addr show dev "$pc_if" | sed -E 's/^[0-9]+: [^ ]+ +inet ([0-9.]+)\/[0-9]+ (.*)$/\1 \2/'
}

check_leased() {
  local addresses last
  addresses=$(pc_addresses)
  echo "PC addresses after $1:"
  echo "$addresses"
  echo "$addresses" | grep -q '^198\.51\.100\.10 ' && fail "the static address is still there"
  local leased
  leased=$(echo "$addresses" | awk '{print $1}' | grep -E '^198\.51\.100\.[0-9]+$' || true)
  [ "$(echo "$leased" | grep -c .)" -eq 1 ] || fail "expected exactly one address, got: $leased"
  last=${leased##*.}
  [ "$last" -ge 100 ] && [ "$last" -le 150 ] || fail "$leased is outside dnsmasq's range"
  echo "$addresses" | grep -q 'dynamic' || fail "the leased address carries no lifetime"
  ip -n "$pc" -4 route show default | grep -q 'via 198.51.100.1 ' ||
    fail "no default route through the modem"
  grep -q " $leased " "$work/dnsmasq.leases" || fail "dnsmasq has no lease for $leased"
}

# Beside the modem's link, adapters that cannot be its cable: a bridge with a port, as container
# and virtual machine hosts have, and an adapter whose cable is out. They keep their static
# addresses, and the renewal takes no longer than the modem link's own (a client started on
# either would wait out its time-out).
ip -n "$pc" link add "qbr$$" type bridge forward_delay 0
ip link add "qbp$$" netns "$pc" type veth peer name "qbq$$" netns "$netns_modem"
ip -n "$pc" link set "qbp$$" master "qbr$$"
ip -n "$pc" addr add 172.17.0.1/16 dev "qbr$$"
ip link add "qun$$" netns "$pc" type veth peer name "quo$$" netns "$netns_modem"
ip -n "$pc" addr add 10.9.9.9/24 dev "qun$$"
for link in "qbp$$" "qbr$$" "qun$$"; do ip -n "$pc" link set "$link" up; done
ip -n "$netns_modem" link set "qbq$$" up
for _ in $(seq 50); do
  ip -n "$pc" link show "qbr$$" | grep -q LOWER_UP && break
  sleep 0.1
done
started=$(date +%s%N)
run_renewal
took_ms=$((($(date +%s%N) - started) / 1000000))
echo "renewal took $took_ms ms"
check_leased "switching the static adapter to DHCP"
ip -n "$pc" -4 -o addr show dev "qbr$$" | grep -q ' 172\.17\.0\.1/16 ' ||
  fail "the bridge lost its static address"
ip -n "$pc" -4 -o addr show dev "qun$$" | grep -q ' 10\.9\.9\.9/24 ' ||
  fail "the unplugged adapter lost its static address"
[ "$took_ms" -lt 8000 ] || fail "the renewal waited on adapters that cannot reach the modem"
for link in "qbr$$" "qbp$$" "qun$$"; do ip -n "$pc" link del "$link"; done
first=$(pc_addresses | awk '{print $1}')

# A wizard ended by SIGTERM or SIGHUP runs no exit hook; its DHCP client ends all the same.
for signal in TERM HUP; do
  QUILLON_DHCP_STATE_DIR="$work/state" ip netns exec "$pc" "$probe" renew-and-wait >"$work/wait.out" &
  waiter=$!
  for _ in $(seq 250); do
    grep -q RenewAllDhcpLeases "$work/wait.out" && break
    sleep 0.1
  done
  [ -n "$(ip netns pids "$pc" | grep -vx "$waiter")" ] || fail "no DHCP client runs beside the wizard"
  kill -s "$signal" "$waiter"
  wait "$waiter" || true
  # The wizard's handler tells the client to stop and ends at once; the client's own stop may
  # take it a moment longer.
  for _ in $(seq 30); do
    [ -z "$(ip netns pids "$pc")" ] && break
    sleep 0.1
  done
  [ -z "$(ip netns pids "$pc")" ] || fail "SIG$signal left the DHCP client running"
done
check_leased "the wizard ended by a signal"
first=$(pc_addresses | awk '{print $1}')

# The adapter is on DHCP now: the second run releases the lease and gets a new one.
run_renewal
check_leased "releasing and renewing"
grep -q "DHCPRELEASE.*$first" "$work/dnsmasq.log" || fail "the lease of $first was never released"

# The wizard's DHCP client ends with the wizard; the lease and its address stay.
[ -z "$(ip netns pids "$pc")" ] || fail "the DHCP client outlived the wizard: $(ip netns pids "$pc")"
check_leased "the end of the wizard"

# A client that a killed wizard left behind is ended by its pid file at the next start.
state=$work/state
ip netns exec "$pc" dhclient -4 -1 -cf "$state/dhclient.conf" -pf "$state/$pc_if.pid" \
  -lf "$state/$pc_if.leases" -sf "$state/dhclient-script" "$pc_if" 2>/dev/null
[ -n "$(ip netns pids "$pc")" ] || fail "the left-over client did not stay"
QUILLON_DHCP_STATE_DIR="$state" XDG_RUNTIME_DIR="$work" ip netns exec "$pc" "$probe" start
[ -z "$(ip netns pids "$pc")" ] || fail "the left-over DHCP client still runs"
check_leased "the next start"

# The adapter list sees the same: the leased address with its mask and the modem as gateway,
# and no loopback.
adapters=$(ip netns exec "$pc" "$probe" adapters)
echo "adapter list: $adapters"
[ "$adapters" = "$pc_if $(pc_addresses | awk '{print $1}')/255.255.255.0 198.51.100.1" ] ||
  fail "unexpected adapter list"

# Pulling the cable (the modem's end of the link goes down) leaves the PC's side without carrier:
# the adapter then reports neither address nor gateway, so the adapter pages' cable test passes. Plugging it back
# brings the address back.
leased=$(pc_addresses | awk '{print $1}')
ip -n "$netns_modem" link set "$netns_modem_if" down
# The kernel reports a carrier change up to a second later; the cable page itself waits 3 s.
for _ in $(seq 50); do
  ip -n "$pc" link show "$pc_if" | grep -q NO-CARRIER && break
  sleep 0.1
done
adapters=$(ip netns exec "$pc" "$probe" adapters)
echo "adapter list without the cable: $adapters"
[ "$adapters" = "$pc_if 0.0.0.0/0.0.0.0 0.0.0.0" ] ||
  fail "an adapter without carrier still reports an address"
ip -n "$netns_modem" link set "$netns_modem_if" up
for _ in $(seq 50); do
  adapters=$(ip netns exec "$pc" "$probe" adapters)
  [ "$adapters" = "$pc_if $leased/255.255.255.0 198.51.100.1" ] && break
  sleep 0.1
done
echo "adapter list with the cable back: $adapters"
[ "$adapters" = "$pc_if $leased/255.255.255.0 198.51.100.1" ] ||
  fail "the address did not come back with the cable"

[ "$(sha256sum /etc/resolv.conf 2>/dev/null || true)" = "$resolv_before" ] ||
  fail "the host's /etc/resolv.conf changed"
[ "$(hostname)" = "$hostname_before" ] || fail "the host name changed"
echo "PASS"
