#!/usr/bin/env bash
# Runs a command (by default the wizard of a CD image) with the modem simulator behind it, on a
# network of its own: nothing it sends can reach the machine's real network.
#
#   modem-demo.sh --cd CD_DIR --modemsim MODEMSIM [--mode auto|netns|userns|loopback]
#                 [--sim-arg ARG]... [--laptop-wifi] [-- COMMAND ARGS...]
#
# netns (root): two network namespaces joined by a veth pair on TEST-NET-2. The modem's holds
#   modemsim on port 65002 and dnsmasq as the modem's DHCP and DNS server (198.51.100.1); the
#   PC's (198.51.100.10) runs the command with its own resolv.conf pointing at the modem, so the
#   wizard's broadcast, DHCP renewal and internet name test all stay between the two.
#   --laptop-wifi adds a Wi-Fi card on another network with the default route, and there a decoy
#   that answers the discovery as a modem of the same model (its log: DEMO_DECOY_LOG).
# userns (no root, unprivileged user namespaces): one private network namespace with only the
#   loopback; modemsim listens on it, the broadcast is routed to it, the test host names come
#   from a hosts file of its own, and DHCP renewal is switched off.
# loopback (neither): modemsim on 127.0.0.1 in the machine's own network, and the wizard pointed
#   at it with QUILLON_MODEM_ADDRESS. Only a build that honours that variable is started, as
#   without it the wizard would broadcast on the real network.
# auto picks the first that this machine allows. The command sees MODEMSIM_PID (SIGHUP makes
# the simulator write MODEM_STATE_FILE) and DEMO_MODE. Everything made is removed on exit.
set -euo pipefail

cd_dir="" modemsim="" mode=auto laptop_wifi=""
sim_args=()
while [ $# -gt 0 ]; do
  case $1 in
    --cd) cd_dir=$(cd "$2" && pwd); shift 2 ;;
    --modemsim) modemsim=$2; shift 2 ;;
    --mode) mode=$2; shift 2 ;;
    --sim-arg) sim_args+=("$2"); shift 2 ;;
    --laptop-wifi) laptop_wifi=1; shift ;;
    --) shift; break ;;
    *) echo "modem-demo: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -n "$cd_dir" ] && [ -x "$modemsim" ] || { echo "modem-demo: --cd and --modemsim are needed" >&2; exit 2; }
[ $# -gt 0 ] || set -- ./quillon

say() { echo "modem-demo: $*" >&2; }
# shellcheck source=netns-lib.sh
. "$(dirname "$0")/netns-lib.sh"

can_netns() { [ "$(id -u)" -eq 0 ] && command -v ip >/dev/null && command -v dnsmasq >/dev/null; }
can_userns() { command -v unshare >/dev/null && unshare -rn true 2>/dev/null; }
honours_address() { grep -aq QUILLON_MODEM_ADDRESS "$cd_dir/quillon" 2>/dev/null; }

if [ "$mode" = auto ]; then
  if can_netns; then mode=netns
  elif can_userns; then mode=userns
  else mode=loopback
  fi
fi

work=$(mktemp -d /tmp/quillon-demo.XXXXXX)
chmod 700 "$work"
export MODEM_STATE_FILE=$work/modem-state.txt DEMO_MODE=$mode
# The wizard's single-instance lock and registry stay in the demo's own folders.
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=${DEMO_CONFIG_HOME:-$work/config}
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"

cleanup() {
  set +e
  [ -n "${MODEMSIM_PID:-}" ] && kill "$MODEMSIM_PID" 2>/dev/null && wait "$MODEMSIM_PID" 2>/dev/null
  # The wizard's DHCP client may outlive it; its pid files are in the dhcp folder.
  netns_down "$work"/dhcp/*.pid
  [ -n "${DEMO_KEEP_STATE:-}" ] && [ -f "$MODEM_STATE_FILE" ] && cp "$MODEM_STATE_FILE" "$DEMO_KEEP_STATE"
  rm -rf "$work"
}
trap cleanup EXIT
# The command runs in the background so that an interrupt reaches this script at once.
child=""
trap '[ -n "$child" ] && kill "$child" 2>/dev/null; exit 130' INT TERM
run_command() {
  "$@" &
  child=$!
  set +e
  wait "$child"
  status=$?
  set -e
  child=""
  exit $status
}

wait_listening() {
  for _ in $(seq 200); do
    grep -q listening "$work/modemsim.out" 2>/dev/null && return 0
    kill -0 "$MODEMSIM_PID" 2>/dev/null || break
    sleep 0.05
  done
  say "modemsim did not start:"; cat "$work/modemsim.out" "$work/modemsim.log" >&2 2>/dev/null
  exit 1
}

# The test host names of the wizard's internet check all resolve to the modem.
dns_names=(--address=/example.com/198.51.100.1 --address=/example.net/198.51.100.1
           --address=/example.org/198.51.100.1)

case $mode in
  netns)
    can_netns || { say "netns needs root, ip and dnsmasq"; exit 1; }
    netns_up qd "$work"
    ip -n "$netns_pc" route add default via 198.51.100.1
    netns_dnsmasq dhcp "${dns_names[@]}"
    ip netns exec "$netns_modem" "$modemsim" --bind 0.0.0.0 --port 65002 --ip 198.51.100.1 \
      --state-file "$MODEM_STATE_FILE" --log "$work/modemsim.log" "${sim_args[@]}" \
      >"$work/modemsim.out" 2>&1 &
    MODEMSIM_PID=$!
    export MODEMSIM_PID
    wait_listening
    if [ -n "$laptop_wifi" ]; then
      # A Wi-Fi with the default route, and on it a device that answers the discovery at once as
      # a modem of the same model would; whoever runs the command checks what it heard.
      netns_wifi_up
      export DEMO_DECOY_LOG=$work/decoy.log
      ip netns exec "$netns_air" "$modemsim" --bind 0.0.0.0 --port 65002 --ip 203.0.113.1 \
        --mac 02:00:00:de:c0:01 --log "$DEMO_DECOY_LOG" "${sim_args[@]}" >"$work/decoy.out" 2>&1 &
      netns_started "the decoy" -s "$work/decoy.out"
      say "a Wi-Fi beside the cable, with a decoy modem on it, in namespace $netns_air"
    fi
    echo "nameserver 198.51.100.1" >"$work/resolv.conf"
    # The wizard's DHCP client keeps its files here and is stopped on exit.
    mkdir -m 700 "$work/dhcp"
    export QUILLON_DHCP_STATE_DIR=$work/dhcp
    # Inside the PC's namespace the renewal runs for real, whatever a caller outside it asked,
    # through the wizard's own client: the machine's network managers own the machine's adapters,
    # not the namespace's, so their bus is out of reach.
    unset QUILLON_DHCLIENT
    export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-bus"
    say "modem 198.51.100.1 (modemsim, dnsmasq) in namespace $netns_modem; the PC side runs in $netns_pc"
    cd "$cd_dir"
    run_command netns_pc_run "$work/resolv.conf" "$@"
    ;;
  userns)
    can_userns || { say "unprivileged user namespaces are not available"; exit 1; }
    export QUILLON_DHCLIENT=none
    # No name server answers there; the test host names come from a hosts file of our own.
    echo "nameserver 127.0.0.1" >"$work/resolv.conf"
    printf '127.0.0.1 localhost\n127.0.0.1 www.example.com www.example.net www.example.org example.com\n' \
      >"$work/hosts"
    export SIM_ARGS="${sim_args[*]}"
    say "a private network with only the loopback: modemsim on 0.0.0.0:65002 and the broadcast routed to it"
    cd "$cd_dir"
    # shellcheck disable=SC2016
    run_command unshare -rnm --pid --fork --kill-child --mount-proc --propagation private sh -c '
      work=$1 modemsim=$2; shift 2
      ip link set lo up &&
      ip route add 255.255.255.255/32 dev lo src 127.0.0.1 &&
      mount --bind "$work/resolv.conf" /etc/resolv.conf &&
      mount --bind "$work/hosts" /etc/hosts || exit 1
      "$modemsim" --bind 0.0.0.0 --port 65002 --ip 127.0.0.1 --state-file "$MODEM_STATE_FILE" \
        --log "$work/modemsim.log" $SIM_ARGS >"$work/modemsim.out" 2>&1 &
      MODEMSIM_PID=$!
      export MODEMSIM_PID
      for _ in $(seq 200); do grep -q listening "$work/modemsim.out" 2>/dev/null && break; sleep 0.05; done
      "$@"
      status=$?
      kill "$MODEMSIM_PID" 2>/dev/null; wait "$MODEMSIM_PID" 2>/dev/null
      exit $status' sh "$work" "$modemsim" "$@"
    ;;
  loopback)
    if ! honours_address; then
      say "cannot make a private network here (no root, no user namespaces), and this build of"
      say "the wizard does not honour QUILLON_MODEM_ADDRESS: it would broadcast on your real"
      say "network, so it is not started. Run ./run as root for the simulated modem."
      exit 1
    fi
    export QUILLON_DHCLIENT=none
    "$modemsim" --bind 127.0.0.1 --port 0 --state-file "$MODEM_STATE_FILE" \
      --log "$work/modemsim.log" "${sim_args[@]}" >"$work/modemsim.out" 2>&1 &
    MODEMSIM_PID=$!
    export MODEMSIM_PID
    wait_listening
    port=$(sed -n 's/.*listening [0-9.]*:\([0-9]*\).*/\1/p' "$work/modemsim.out" | head -n 1)
    export QUILLON_MODEM_ADDRESS=127.0.0.1:$port
    say "no private network possible: modemsim on $QUILLON_MODEM_ADDRESS and the wizard aimed at it"
    cd "$cd_dir"
    run_command "$@"
    ;;
  *)
    say "unknown mode $mode"
    exit 2
    ;;
esac
