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

pc=qh_pc_$$
modem=qh_modem_$$
pc_if=qhp$$
modem_if=qhm$$
work=$(mktemp -d /tmp/quillon-netns-host.XXXXXX)

cleanup() {
  set +e
  [ -s "$work/dnsmasq.pid" ] && kill "$(cat "$work/dnsmasq.pid")" 2>/dev/null
  for pidfile in "$work"/state/*.pid; do
    [ -s "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
  done
  for ns in "$pc" "$modem"; do
    pids=$(ip netns pids "$ns" 2>/dev/null)
    [ -n "$pids" ] && kill $pids 2>/dev/null
  done
  ip netns del "$pc" 2>/dev/null
  ip netns del "$modem" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

ip netns add "$pc" || fail "ip netns is not available"
ip netns add "$modem"
ip link add "$pc_if" netns "$pc" type veth peer name "$modem_if" netns "$modem"
ip -n "$pc" link set lo up
ip -n "$modem" link set lo up
ip -n "$modem" addr add 198.51.100.1/24 dev "$modem_if"
ip -n "$pc" addr add 198.51.100.10/24 dev "$pc_if"
ip -n "$modem" link set "$modem_if" up
ip -n "$pc" link set "$pc_if" up

resolv_before=$(sha256sum /etc/resolv.conf 2>/dev/null || true)
hostname_before=$(hostname)

ip netns exec "$modem" dnsmasq -C /dev/null --no-resolv --no-hosts --interface="$modem_if" \
  --bind-interfaces --except-interface=lo \
  --dhcp-range=198.51.100.100,198.51.100.150,255.255.255.0,2m \
  --dhcp-option=option:router,198.51.100.1 --dhcp-option=option:dns-server,198.51.100.1 \
  --address=/modem.example/198.51.100.1 --local=/example/ --no-ping \
  --dhcp-leasefile="$work/dnsmasq.leases" --pid-file="$work/dnsmasq.pid" \
  --log-facility="$work/dnsmasq.log" --user=root --group=root
for _ in $(seq 50); do
  [ -s "$work/dnsmasq.pid" ] && break
  sleep 0.1
done
[ -s "$work/dnsmasq.pid" ] || fail "dnsmasq did not start"

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

run_renewal
check_leased "switching the static adapter to DHCP"
first=$(pc_addresses | awk '{print $1}')

# The adapter is on DHCP now: the second run releases the lease and gets a new one.
run_renewal
check_leased "releasing and renewing"
grep -q "DHCPRELEASE.*$first" "$work/dnsmasq.log" || fail "the lease of $first was never released"

# The adapter list sees the same: the leased address with its mask and the modem as gateway,
# and no loopback.
adapters=$(ip netns exec "$pc" "$probe" adapters)
echo "adapter list: $adapters"
[ "$adapters" = "$pc_if $(pc_addresses | awk '{print $1}')/255.255.255.0 198.51.100.1" ] ||
  fail "unexpected adapter list"

[ "$(sha256sum /etc/resolv.conf 2>/dev/null || true)" = "$resolv_before" ] ||
  fail "the host's /etc/resolv.conf changed"
[ "$(hostname)" = "$hostname_before" ] || fail "the host name changed"
echo "PASS"
