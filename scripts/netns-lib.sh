# Sourced by the scripts that put a simulated modem and a PC in two network namespaces joined by
# a veth pair on TEST-NET-2 (the modem 198.51.100.1, the PC 198.51.100.10), so that nothing they
# send reaches the machine's own network. The namespaces' names end in the caller's pid, so that
# parallel runs never meet; the caller's exit trap calls netns_down.
# shellcheck shell=bash

netns_made=0

# Makes the two namespaces and the link between them: netns_up PREFIX WORK [PC_IF MODEM_IF].
# dnsmasq keeps its files in WORK. Sets netns_pc, netns_modem, netns_pc_if and netns_modem_if.
netns_up() {
  netns_pc=${1}_pc_$$ netns_modem=${1}_modem_$$ netns_work=$2
  netns_pc_if=${3:-veth_pc} netns_modem_if=${4:-veth_modem}
  ip netns add "$netns_pc"
  netns_made=1
  ip netns add "$netns_modem"
  ip link add "$netns_pc_if" netns "$netns_pc" type veth peer name "$netns_modem_if" \
    netns "$netns_modem"
  ip -n "$netns_pc" link set lo up
  ip -n "$netns_modem" link set lo up
  ip -n "$netns_pc" addr add 198.51.100.10/24 dev "$netns_pc_if"
  ip -n "$netns_modem" addr add 198.51.100.1/24 dev "$netns_modem_if"
  ip -n "$netns_pc" link set "$netns_pc_if" up
  ip -n "$netns_modem" link set "$netns_modem_if" up
}

# Starts dnsmasq in the modem's namespace as its name server, on the link only, and waits until
# it runs: netns_dnsmasq [dhcp] ARGS... With `dhcp` it also leases 198.51.100.100 to .150 for
# two minutes, with the modem as router and name server.
netns_dnsmasq() {
  local dhcp=()
  if [ "${1:-}" = dhcp ]; then
    shift
    dhcp=(--dhcp-range=198.51.100.100,198.51.100.150,255.255.255.0,2m
      --dhcp-option=option:router,198.51.100.1 --dhcp-option=option:dns-server,198.51.100.1
      --no-ping --dhcp-leasefile="$netns_work/dnsmasq.leases")
  fi
  ip netns exec "$netns_modem" dnsmasq -C /dev/null --no-resolv --no-hosts \
    --interface="$netns_modem_if" --bind-interfaces --except-interface=lo "${dhcp[@]}" "$@" \
    --pid-file="$netns_work/dnsmasq.pid" --log-facility="$netns_work/dnsmasq.log" \
    --user=root --group=root
  netns_started dnsmasq -s "$netns_work/dnsmasq.pid"
}

# Waits up to five seconds for a daemon's file to appear: netns_started NAME TEST FILE, with TEST
# a file test of `[` (-s, -S); says which daemon did not start.
netns_started() {
  local name=$1
  shift
  for _ in $(seq 50); do
    [ "$@" ] && return 0
    sleep 0.1
  done
  echo "netns: $name did not start" >&2
  return 1
}

# Runs COMMAND in the PC's namespace with CONF as its /etc/resolv.conf, in a mount namespace of
# its own so that the host's file stays as it is: netns_pc_run CONF COMMAND...
netns_pc_run() {
  local conf=$1
  shift
  ip netns exec "$netns_pc" unshare -m --propagation private \
    sh -c 'mount --bind "$0" /etc/resolv.conf || exit 1
      for i in $1; do mount --bind "$2" "/sys/class/net/$i/uevent" || exit 1; done
      shift 2; exec "$@"' "$conf" "${netns_wireless:-}" "$netns_work/wlan.uevent" "$@"
}

# Joins the PC to namespace NS by a further link, PC_IF (PC_ADDR/24) on the PC's side and NS_IF
# (NS_ADDR/24) on the other: netns_pc_link PC_IF NS NS_IF PC_ADDR NS_ADDR.
netns_pc_link() {
  ip link add "$1" netns "$netns_pc" type veth peer name "$3" netns "$2"
  ip -n "$2" addr add "$5/24" dev "$3"
  ip -n "$2" link set "$3" up
  ip -n "$netns_pc" addr add "$4/24" dev "$1"
  ip -n "$netns_pc" link set "$1" up
}

# A laptop's Wi-Fi beside the cable: a third namespace, the wireless network (its access point
# 203.0.113.1), joined to the PC's wl_pc (203.0.113.10), which takes the default route. What
# netns_pc_run starts sees wl_pc as a wireless card: its driver's uevent says DEVTYPE=wlan.
# Sets netns_air; netns_down removes it.
netns_wifi_up() {
  netns_air=${netns_pc%_pc_*}_air_$$
  ip netns add "$netns_air"
  ip -n "$netns_air" link set lo up
  netns_pc_link wl_pc "$netns_air" wl_ap 203.0.113.10 203.0.113.1
  ip -n "$netns_pc" route replace default via 203.0.113.1 dev wl_pc
  printf 'DEVTYPE=wlan\n' >"$netns_work/wlan.uevent"
  netns_wireless=wl_pc
}

# Starts a D-Bus system bus of the PC namespace's own, listening in WORK, and points
# DBUS_SYSTEM_BUS_ADDRESS at it, so that the network managers a test starts there meet nothing of
# the machine's: netns_private_bus. Every user may connect, own names and call, as system
# services do on the machine's bus; netns_down stops it.
netns_private_bus() {
  cat >"$netns_work/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$netns_work/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
EOF
  export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$netns_work/bus"
  ip netns exec "$netns_pc" dbus-daemon --config-file="$netns_work/bus.conf" --fork \
    --print-pid >"$netns_work/bus.pid"
  netns_started "the private bus" -S "$netns_work/bus"
}

# Stops dnsmasq, the processes of the pid files given and whatever else still runs in the two
# namespaces, then deletes them. Safe to call whether or not netns_up ran.
netns_down() {
  local pidfile ns pids
  [ "$netns_made" = 1 ] || return 0
  for pidfile in "$netns_work/dnsmasq.pid" "$netns_work/bus.pid" "$@"; do
    if [ -s "$pidfile" ]; then kill "$(cat "$pidfile")" 2>/dev/null || true; fi
  done
  for ns in "$netns_pc" "$netns_modem" ${netns_air:+"$netns_air"}; do
    pids=$(ip netns pids "$ns" 2>/dev/null || true)
    # shellcheck disable=SC2086 # one pid a word
    if [ -n "$pids" ]; then kill $pids 2>/dev/null || true; fi
    ip netns del "$ns" 2>/dev/null || true
  done
  netns_made=0
}
