#!/usr/bin/env bash
# The engine across two network namespaces joined by a veth pair on TEST-NET-2: modemsim and
# dnsmasq in the modem's, modemctl and the namespace test binary in the PC's. Nothing is sent
# from the machine's own namespace. Needs root and iproute2; fails loudly without them.
# Usage: engine_netns.sh MODEMSIM MODEMCTL NETNS_TESTS
set -euo pipefail
modemsim=$1 modemctl=$2 tests=$3
if [ "$(id -u)" != 0 ]; then echo "engine_netns: needs root" >&2; exit 1; fi
for tool in ip unshare dnsmasq; do
  command -v "$tool" >/dev/null || { echo "engine_netns: $tool missing" >&2; exit 1; }
done

# shellcheck source=../../scripts/netns-lib.sh
. "$(dirname "$0")/../../scripts/netns-lib.sh"
work=$(mktemp -d /tmp/engine_netns.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  netns_down
  rm -rf "$work"
}
trap cleanup EXIT

netns_up qe "$work"
ip -n "$netns_pc" route add default via 198.51.100.1

failures=0
check() {  # check NAME EXPECTED_EXIT EXPECTED_TEXT COMMAND...
  local name=$1 want=$2 text=$3; shift 3
  local out rc=0
  out=$("$@" 2>&1) || rc=$?
  echo "$out" >"$work/$name.out"
  if [ "$rc" != "$want" ] || ! grep -qF -- "$text" <<<"$out"; then
    echo "FAIL $name (exit $rc, wanted $want and '$text')"; echo "$out" | tail -20
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

start_sim() {  # start_sim BIND [MODEMSIM_ARGS...]: the modem, logging to sim.log
  sim_in "$netns_modem" sim "$@"
  sim_pid=$sim_started
}

# Starts a modemsim in namespace NS, logging to NAME.log; sets sim_started to its pid.
sim_in() {  # sim_in NS NAME BIND [MODEMSIM_ARGS...]
  local ns=$1 name=$2 bind=$3
  shift 3
  rm -f "$work/$name.out" "$work/$name.log"
  ip netns exec "$ns" "$modemsim" --bind "$bind" --port 65002 --reboot-ms 200 \
    --log "$work/$name.log" "$@" >"$work/$name.out" &
  sim_started=$!
  pids+=("$sim_started")
  for _ in $(seq 100); do
    grep -q listening "$work/$name.out" 2>/dev/null && return
    sleep 0.05
  done
  echo "modemsim did not start" >&2; exit 1
}

stop_sim() {
  kill "$sim_pid"; wait "$sim_pid" 2>/dev/null || true
}

# The message codes a simulator received, each with the address it came from: "ADDR CODE".
received() {  # received NAME
  awk '/ from / {from = $NF} / rx code=/ {split($0, a, "rx code="); split(a[2], c, " ");
       sub(/:[0-9]+$/, "", from); print from, c[1]}' "$work/$1.log"
}

# Fails the test with WHY unless COMMAND succeeds.
expect() {  # expect WHY COMMAND...
  local why=$1; shift
  "$@" || { echo "FAIL $why"; failures=$((failures + 1)); }
}

printf 'DiscoverTimeout=1\r\nDefaultTimeout=1\r\n' >"$work/fast.ini"
run_ctl() { ip netns exec "$netns_pc" "$modemctl" --settings "$work/fast.ini" "$@"; }

# Discovery by the limited broadcast, then the hardware check's runs.
start_sim 0.0.0.0
check broadcast-discovery 0 "result: 3 1" \
  run_ctl --dest 255.255.255.255 --linerate-after-discovery --pvc1-after-linerate 1
check hardware-check-runs 0 "result: 5 1" run_ctl --dest 255.255.255.255 1,3,5
stop_sim

# A modem that hears only its own address: the broadcast goes unanswered, the gateway answers.
start_sim 198.51.100.1
gateway=$(ip -n "$netns_pc" route show default | awk '{print $3}')
check broadcast-unanswered 1 "STATE_DISCOVERY timeout" run_ctl --dest 255.255.255.255 1
check gateway-discovery 0 "result: 1 1" run_ctl --dest "$gateway" 1
check apply-through-gateway 0 "result: 9 1" \
  run_ctl --dest "$gateway" --no-dns-after-wan-up --set connectionType=9 --set wlSecurity=PSK \
  --set wlKey=passphrase 1,4,6,7,8

# The internet name test against the modem's DNS server, with a resolv.conf of our own.
netns_dnsmasq --address=/example.com/198.51.100.1 --address=/example.net/198.51.100.1 \
  --address=/example.org/198.51.100.1 --address=/invalid/
echo "nameserver 198.51.100.1" >"$work/live.conf"
printf 'nameserver 198.51.100.99\noptions timeout:5 attempts:2\n' >"$work/dead.conf"
with_resolv() {  # with_resolv CONF COMMAND...
  local conf=$1; shift
  netns_pc_run "$conf" env QUILLON_NETNS_PC="$netns_pc" "$@"
}
check name-test 0 "DNS Result: 198.51.100.1" \
  with_resolv "$work/live.conf" "$modemctl" --settings "$work/fast.ini" --dest "$gateway" 1,8
stop_sim

# A laptop: a Wi-Fi card (its driver says wlan) holds the default route, and on that network a
# decoy answers the discovery at once, as a modem of the same model would; the modem on the cable
# answers 150 ms late. The records, the PPP password and the save go to the modem on the cable
# alone; the decoy hears nothing but discovery.
ip -n "$netns_pc" route del default
netns_wifi_up
# modemctl in the PC's namespace, as a laptop: wl_pc is a wireless card there.
laptop_prefix=()
run_laptop() {
  netns_pc_run "$work/live.conf" "${laptop_prefix[@]}" "$modemctl" --settings "$work/fast.ini" "$@"
}
apply_as_laptop() {
  run_laptop --dest 255.255.255.255 --no-dns-after-wan-up --set connectionType=0 \
    --set pppUserName=jan --set pppPassword=only-for-the-modem --set wlSecurity=PSK \
    --set wlKey=passphrase 1,4,6,7,8
}
only_discovery() { ! received "$1" | grep -qv ' 1$'; }
got_the_records() { received sim | grep -q ' 5$' && grep -q 'only-for-the-modem' "$work/sim.log"; }
all_from() {  # all_from ADDR: every request but discovery came from ADDR
  ! received sim | grep -v ' 1$' | grep -qv "^$1 "
}
sim_in "$netns_air" decoy 0.0.0.0 --mac 02:00:00:de:c0:01
decoy_pid=$sim_started
start_sim 0.0.0.0 --delay-ms 150
check wifi-decoy 0 "result: 9 1" apply_as_laptop
expect "the decoy on the Wi-Fi heard more than discovery" only_discovery decoy
expect "the modem on the cable did not get the records" got_the_records
expect "all requests but discovery from the cable" all_from 198.51.100.10
grep -qF "the modem answered on $netns_pc_if (198.51.100.10)" "$work/wifi-decoy.out" ||
  { echo "FAIL the run did not name the cable it chose"; failures=$((failures + 1)); }
# The modem misses the first discovery (lost, or still starting): the cable is asked again
# before the decoy's answer could be taken.
stop_sim
start_sim 0.0.0.0 --drop-first 1
check wifi-decoy-modem-late 0 "result: 9 1" apply_as_laptop
expect "the decoy was taken while the cable stayed silent" got_the_records
# Silent on the cable for the whole step (still starting): the radio's answer is not taken.
stop_sim
start_sim 0.0.0.0 --drop-first 9
check wifi-decoy-cable-silent 1 "only a device on the wireless adapter wl_pc answered" run_laptop 1
expect "the decoy on the Wi-Fi heard more than discovery" only_discovery decoy
# A desktop whose card is a port of a bridge for virtual machines, beside the Wi-Fi: the bridge
# is the cable. sysfs tells a card of the machine's own by its device entry, which a private
# mount lends veth_pc here.
ip -n "$netns_pc" addr flush dev "$netns_pc_if"
ip -n "$netns_pc" link add br0 type bridge
ip -n "$netns_pc" link set "$netns_pc_if" master br0
ip -n "$netns_pc" addr add 198.51.100.10/24 dev br0
ip -n "$netns_pc" link set br0 up
stop_sim
start_sim 0.0.0.0
laptop_prefix=(sh -c 'mount -t tmpfs card "/sys/class/net/$0" && mkdir "/sys/class/net/$0/device" &&
  echo 1 >"/sys/class/net/$0/carrier" && exec "$@"' "$netns_pc_if")
check bridged-card 0 "result: 9 1" apply_as_laptop
expect "the modem behind the bridge did not get the records" got_the_records
laptop_prefix=()
ip -n "$netns_pc" link del br0
ip -n "$netns_pc" addr add 198.51.100.10/24 dev "$netns_pc_if"

# A VPN's tunnel holds the default route (its client holds the device open): nothing of the
# wizard enters it, and the modem on the cable is found.
python3 - "$work/tunnel.log" <<'PY' &
import fcntl, os, struct, sys
fd = os.open("/dev/net/tun", os.O_RDWR)
fcntl.ioctl(fd, 0x400454CA, struct.pack("16sH", b"vpn0", 0x0001 | 0x1000))  # TUNSETIFF: tun, no info
log = open(sys.argv[1], "w", buffering=1)
log.write("open\n")
while True:
    packet = os.read(fd, 65535)
    if len(packet) >= 28 and packet[9] == 17:
        log.write("udp to %d.%d.%d.%d:%d\n" % (*packet[16:20], packet[22] << 8 | packet[23]))
PY
tunnel_pid=$!
pids+=("$tunnel_pid")
netns_started "the tunnel's reader" -s "$work/tunnel.log"
ip link set vpn0 netns "$netns_pc"
ip -n "$netns_pc" addr add 10.8.0.2/24 dev vpn0
ip -n "$netns_pc" link set vpn0 up
ip -n "$netns_pc" route replace default dev vpn0
check tunnel-default-route 0 "result: 9 1" apply_as_laptop
# Neither the cable nor the Wi-Fi has a link: nothing is sent, rather than into the tunnel.
ip -n "$netns_modem" link set "$netns_modem_if" down
ip -n "$netns_air" link set wl_ap down
check no-link-but-the-tunnel 1 "no adapter with a link that can lead to the modem" run_laptop 1
ip -n "$netns_modem" link set "$netns_modem_if" up
ip -n "$netns_air" link set wl_ap up
expect "the wizard sent into the VPN's tunnel" eval '! grep -q ":65002" "$work/tunnel.log"'
ip -n "$netns_pc" route replace default via 203.0.113.1 dev wl_pc

# The cable with a link and no address (the renewal got none): asked from 0.0.0.0, the modem
# answers by broadcast and the whole apply goes over that cable; with the modem silent, the
# verdict names the missing address rather than the cable.
ip -n "$netns_pc" addr flush dev "$netns_pc_if"
stop_sim
start_sim 0.0.0.0
check cable-without-address 0 "result: 9 1" apply_as_laptop
expect "the modem on the cable did not get the records" got_the_records
expect "all requests but discovery from no address" all_from 0.0.0.0
expect "the decoy on the Wi-Fi heard more than discovery" only_discovery decoy
# Only an automatic address on the cable: the modem answers it by broadcast.
ip -n "$netns_pc" addr add 169.254.7.7/16 dev "$netns_pc_if"
stop_sim
start_sim 0.0.0.0
check cable-automatic-address 0 "result: 9 1" apply_as_laptop
expect "the modem on the cable did not get the records" got_the_records
expect "all requests but discovery from the automatic address" all_from 169.254.7.7
ip -n "$netns_pc" addr flush dev "$netns_pc_if"
stop_sim
kill "$decoy_pid"
check cable-without-address-silent 1 "cable adapter $netns_pc_if has no address" \
  run_laptop 1
# Another address listed first on the cable: the requests go out from the modem's subnet.
ip -n "$netns_pc" addr add 192.0.2.50/24 dev "$netns_pc_if"
ip -n "$netns_pc" addr add 198.51.100.10/24 dev "$netns_pc_if"
start_sim 0.0.0.0
check two-addresses-on-the-cable 0 "result: 9 1" apply_as_laptop
expect "a request went out from the cable's other address" all_from 198.51.100.10
ip -n "$netns_pc" addr del 192.0.2.50/24 dev "$netns_pc_if"
stop_sim

# The cable's address changes during the discovery (a cable plugged back, a new lease): the
# resend goes out of the new address, and the modem is found.
start_sim 0.0.0.0 --delay-ms 500
(sleep 0.3; ip -n "$netns_pc" addr del 198.51.100.10/24 dev "$netns_pc_if"
  ip -n "$netns_pc" addr add 198.51.100.20/24 dev "$netns_pc_if") &
check address-changes 0 "result: 1 1" run_laptop 1
expect "the resend did not go out of the new address" eval 'received sim | grep -q "^198.51.100.20 1$"' 
wait $!
ip -n "$netns_pc" addr flush dev "$netns_pc_if"
ip -n "$netns_pc" addr add 198.51.100.10/24 dev "$netns_pc_if"
# And during the set of the account: its resend goes out from the new address.
(sleep 0.7; ip -n "$netns_pc" addr del 198.51.100.10/24 dev "$netns_pc_if"
  ip -n "$netns_pc" addr add 198.51.100.20/24 dev "$netns_pc_if") &
check address-changes-in-a-set 0 "result: 9 1" apply_as_laptop
wait $!
ip -n "$netns_pc" addr flush dev "$netns_pc_if"
ip -n "$netns_pc" addr add 198.51.100.10/24 dev "$netns_pc_if"
stop_sim

# The laptop also on the modem's own Wi-Fi: everything goes over the cable.
ip -n "$netns_pc" link del wl_pc
netns_pc_link wl_pc "$netns_modem" wl_ap 192.0.2.10 192.0.2.1
ip -n "$netns_pc" route add default via 192.0.2.1 dev wl_pc
start_sim 0.0.0.0
check modems-own-wifi 0 "result: 9 1" apply_as_laptop
expect "a request went over the modem's Wi-Fi" all_from 198.51.100.10
ip -n "$netns_pc" route del default
check no-default-route 0 "result: 9 1" apply_as_laptop
ip -n "$netns_pc" link del wl_pc
netns_wireless=""
ip -n "$netns_pc" route add default via 198.51.100.1
stop_sim

# Two modems on two cables: the wizard chooses neither and says so.
netns_pc_link eth2_pc "$netns_air" eth2_m 192.0.2.10 192.0.2.1
sim_in "$netns_air" second 0.0.0.0 --mac 02:00:00:51:20:02
start_sim 0.0.0.0
check two-modems 1 "two modems answered on two wired adapters" run_ctl 1
ip -n "$netns_pc" link del eth2_pc
stop_sim

# ICMP echo, the internet test thread and the resolver's deadline.
check netns-tests 0 "PASSED" \
  with_resolv "$work/live.conf" "$tests" --gtest_filter='-NetnsResolver.DeadServer*'
check dead-dns 0 "PASSED" \
  with_resolv "$work/dead.conf" "$tests" --gtest_filter='NetnsResolver.DeadServer*'

[ "$failures" = 0 ] || { echo "$failures netns check(s) failed"; exit 1; }
echo "all netns checks passed"
