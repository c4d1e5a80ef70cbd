#!/usr/bin/env bash
# The wizard's DHCP renewal on a PC whose adapters NetworkManager owns: the PC namespace runs the
# real daemon on a private system bus, with the modem link configured by hand to a static
# address, and dnsmasq leases addresses in the modem namespace. The renewal must go through the
# manager (the connection set to DHCP and kept so, no client of our own started), and the manager
# must keep the lease after the wizard ends. Everything is the run's own and removed on exit.
set -euo pipefail

probe=${1:?usage: network_manager_renewal.sh HOST_PROBE NETWORK_MANAGER_ROOT}
nm_root=${2:?usage: network_manager_renewal.sh HOST_PROBE NETWORK_MANAGER_ROOT}
fail() {
  echo "FAIL: $*" >&2
  [ -z "${work:-}" ] || tail -n 30 "$work/nm.log" >&2 2>/dev/null || true
  exit 1
}

[ "$(id -u)" -eq 0 ] || fail "network namespaces need root"
for tool in ip dnsmasq dbus-daemon dbus-send; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$nm_root/usr/sbin/NetworkManager" ] ||
  fail "no NetworkManager under $nm_root (scripts/network-manager.sh unpacks it)"

# shellcheck source=../../scripts/netns-lib.sh
. "$(dirname "$0")/../../scripts/netns-lib.sh"
work=$(mktemp -d /tmp/quillon-netns-nm.XXXXXX)
chmod 755 "$work"
trap 'netns_down; rm -rf "$work"' EXIT

netns_up qn "$work" "qnp$$" "qnm$$"
pc=$netns_pc
pc_if=$netns_pc_if
netns_dnsmasq dhcp || fail "dnsmasq did not start"

# The manager keeps to the test's adapter, its files and its bus: it writes no resolv.conf and
# asks no policy service, and it manages the modem link alone.
mkdir -m 700 "$work/connections"
cat >"$work/nm.conf" <<EOF
[main]
plugins=keyfile
dns=none
rc-manager=unmanaged
auth-polkit=false
dhcp=internal
no-auto-default=*
[keyfile]
path=$work/connections
unmanaged-devices=except:interface-name:$pc_if
EOF
netns_private_bus || fail "the private bus did not start"
# Its run and state folders are a private mount's, so that nothing of it stays on the machine.
ip netns exec "$pc" unshare -m --propagation private sh -c '
  mount -t tmpfs tmpfs /run && mount -t tmpfs tmpfs /var/lib && mkdir /var/lib/NetworkManager &&
  mount -o remount,bind,ro /sys &&
  exec env LD_LIBRARY_PATH="$0/usr/lib/x86_64-linux-gnu" "$0/usr/sbin/NetworkManager" \
    --no-daemon --debug --config="$1/nm.conf" --config-dir="$1/none" \
    --system-config-dir="$1/none" --intern-config="$1/intern.conf" \
    --state-file="$1/nm.state" --pid-file="$1/nm.pid"' "$nm_root" "$work" >"$work/nm.log" 2>&1 &

# nm_call PATH INTERFACE.METHOD ARGS...: prints the reply's values, one a line.
nm_call() {
  ip netns exec "$pc" dbus-send --system --print-reply=literal \
    --dest=org.freedesktop.NetworkManager "$@" | awk '{print $NF}'
}
device=
for _ in $(seq 100); do
  if device=$(nm_call /org/freedesktop/NetworkManager \
    org.freedesktop.NetworkManager.GetDeviceByIpIface "string:$pc_if" 2>/dev/null); then
    break
  fi
  sleep 0.1
done
[ -n "$device" ] || fail "NetworkManager did not come up"
device_state() {
  nm_call "$device" org.freedesktop.DBus.Properties.Get \
    string:org.freedesktop.NetworkManager.Device string:State
}
# The hand-made static address is the manager's external connection until the wizard runs.
for _ in $(seq 100); do
  [ "$(device_state)" = 100 ] && break
  sleep 0.1
done
[ "$(device_state)" = 100 ] || fail "the manager did not take up the modem link"

started=$(date +%s%N)
QUILLON_DHCP_STATE_DIR="$work/state" ip netns exec "$pc" "$probe" renew || fail "the renewal returned $?"
echo "renewal took $((($(date +%s%N) - started) / 1000000)) ms"

addresses=$(ip -n "$pc" -4 -o addr show dev "$pc_if")
echo "$addresses"
echo "$addresses" | grep -q ' 198\.51\.100\.10/' && fail "the static address is still there"
leased=$(echo "$addresses" | grep -oE '198\.51\.100\.1[0-5][0-9]' | head -n1)
[ -n "$leased" ] || fail "no address from the modem's DHCP range"
grep -q " $leased " "$work/dnsmasq.leases" || fail "dnsmasq has no lease for $leased"
ip -n "$pc" -4 route show default | grep -q 'via 198.51.100.1 ' || fail "no default route"
# The manager did it: its connection now asks for DHCP, and no client of ours ran.
grep -rqx 'method=auto' "$work/connections" || fail "the manager's connection is not set to DHCP"
grep -q 'dhcp4 ([^)]*): activation: beginning transaction' "$work/nm.log" ||
  fail "the manager's own DHCP client was not started"
[ ! -e "$work/state" ] || fail "a DHCP client of our own was prepared beside the manager"

# After the wizard the manager still holds the connection, and with it the lease.
sleep 1
[ "$(device_state)" = 100 ] || fail "the connection did not stay up after the wizard ended"
ip -n "$pc" -4 -o addr show dev "$pc_if" | grep -q " $leased/" || fail "the lease went away"

# A device left without any connection (the user deleted it) gets a new one that leases.
active=$(nm_call "$device" org.freedesktop.DBus.Properties.Get \
  string:org.freedesktop.NetworkManager.Device string:ActiveConnection)
connection=$(nm_call "$active" org.freedesktop.DBus.Properties.Get \
  string:org.freedesktop.NetworkManager.Connection.Active string:Connection)
nm_call "$connection" org.freedesktop.NetworkManager.Settings.Connection.Delete >/dev/null
for _ in $(seq 50); do
  [ "$(device_state)" = 30 ] && break
  sleep 0.1
done
[ "$(device_state)" = 30 ] || fail "the device did not lose its connection"
QUILLON_DHCP_STATE_DIR="$work/state" ip netns exec "$pc" "$probe" renew || fail "the renewal returned $?"
[ "$(device_state)" = 100 ] || fail "no connection was made for the device"
ip -n "$pc" -4 -o addr show dev "$pc_if" | grep -qE ' 198\.51\.100\.1[0-5][0-9]/.* dynamic' ||
  fail "the new connection has no lease"
echo "PASS"
