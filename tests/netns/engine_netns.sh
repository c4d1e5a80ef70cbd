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

start_sim() {  # start_sim BIND
  ip netns exec "$netns_modem" "$modemsim" --bind "$1" --port 65002 --reboot-ms 200 \
    --log "$work/sim.log" >"$work/sim.out" &
  sim_pid=$!
  pids+=("$sim_pid")
  for _ in $(seq 100); do grep -q listening "$work/sim.out" 2>/dev/null && return; sleep 0.05; done
  echo "modemsim did not start" >&2; exit 1
}

stop_sim() {
  kill "$sim_pid"; wait "$sim_pid" 2>/dev/null || true
  rm -f "$work/sim.out"
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

# A PC with a second adapter that holds the default route (a laptop also on a wireless network,
# its access point in the same namespace so nothing it hears reaches the modem), then with no
# default route at all: the broadcast discovery still finds the modem, and the settings reach it
# through the adapter it answered on.
start_sim 0.0.0.0
ip -n "$netns_pc" route del default
ip -n "$netns_pc" link add wl_pc type veth peer name wl_ap
ip -n "$netns_pc" addr add 203.0.113.10/24 dev wl_pc
ip -n "$netns_pc" addr add 203.0.113.1/24 dev wl_ap
ip -n "$netns_pc" link set wl_ap up
ip -n "$netns_pc" link set wl_pc up
ip -n "$netns_pc" route add default via 203.0.113.1 dev wl_pc
apply_by_broadcast() {
  run_ctl --dest 255.255.255.255 --no-dns-after-wan-up --set connectionType=9 \
    --set wlSecurity=PSK --set wlKey=passphrase 1,4,6,7,8
}
check default-route-elsewhere 0 "result: 9 1" apply_by_broadcast
grep -qF "the modem answered on $netns_pc_if (198.51.100.10)" "$work/default-route-elsewhere.out" ||
  { echo "FAIL the run did not name the adapter the modem answered on"; failures=$((failures + 1)); }
ip -n "$netns_pc" route del default
check no-default-route 0 "result: 9 1" apply_by_broadcast
ip -n "$netns_pc" link del wl_pc
ip -n "$netns_pc" route add default via 198.51.100.1
stop_sim

# ICMP echo, the internet test thread and the resolver's deadline.
check netns-tests 0 "PASSED" \
  with_resolv "$work/live.conf" "$tests" --gtest_filter='-NetnsResolver.DeadServer*'
check dead-dns 0 "PASSED" \
  with_resolv "$work/dead.conf" "$tests" --gtest_filter='NetnsResolver.DeadServer*'

[ "$failures" = 0 ] || { echo "$failures netns check(s) failed"; exit 1; }
echo "all netns checks passed"
