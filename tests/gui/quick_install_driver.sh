#!/usr/bin/env bash
# Drives the real wizard through a quick installation with the mouse and keyboard, as a user
# would, and screenshots every page. Runs in the PC's network namespace that modem-demo.sh made,
# from the CD folder, with DISPLAY, MODEMSIM_PID and MODEM_STATE_FILE set.
# Usage: quick_install_driver.sh ARTIFACT_DIR
set -euo pipefail
out=$1
mkdir -p "$out"
settings=Language/English/dslutility.ini
fail() {
  echo "FAIL: $*" >&2
  /usr/bin/import -display "$DISPLAY" -window root "$out/failure.png" 2>/dev/null || true
  exit 1
}
cleanup() {
  [ -n "${wizard:-}" ] && kill "$wizard" 2>/dev/null
  wait 2>/dev/null || true
}
trap cleanup EXIT

# Documents the wizard opens go nowhere: no browser is started.
export QUILLON_OPENER=/bin/true
./quillon &
wizard=$!
# shellcheck source=page_walk.sh
. "$(dirname "$0")/page_walk.sh"
find_wizard_window 20

wait_page IMG_MainMenuDlgBG main_menu
click 541 105  # quick installation: the DHCP lease comes from the modem's dnsmasq
wait_page IMG_PowerLinkHelpDlgBG power 40
# The renewal switched the PC side from its static address to a lease from the modem.
ip -4 -o addr show dev veth_pc | grep -q 'inet 198\.51\.100\.1[0-5][0-9]/24' ||
  fail "no lease from the modem: $(ip -4 -o addr show dev veth_pc)"
next
wait_page IMG_EthernetLinkHelpDlgBG ethernet
next
wait_page IMG_ADSLLinkHelpDlgBG adsl
next
wait_page IMG_CheckHWLinkStatusDlgBG hardware_check
wait_page IMG_ISPSelectionDlgBG isp_selection 60
# The preselected provider of the edition (PPPoA) stays; the account goes on the next page.
next
wait_page IMG_PPPSettingDlgBG ppp
type_into 351 191 "screen@thamesline.example"
type_into 351 225 "seen on screen"
type_into 351 259 "seen on screen"
next
wait_page IMG_WRadioSettingDlgBG radio
next
wait_page IMG_WirelessSettingDlgBG wireless
type_into 351 175 "Screen Net"
next
wait_page IMG_CheckSWLinkStatusDlgBG software_link 20
wait_page IMG_InstallCompleteDlgAloneBG complete 240

kill -HUP "$MODEMSIM_PID"
sleep 0.5
grep -qx 'saved.pvc1.pppUsername=screen@thamesline.example' "$MODEM_STATE_FILE" ||
  fail "the modem did not save the account: $(grep pppUsername "$MODEM_STATE_FILE")"
grep -qx 'saved.pvc1.pppPassword=seen on screen' "$MODEM_STATE_FILE" || fail "password not saved"
grep -qx 'saved.wireless.wlSsid=Screen Net' "$MODEM_STATE_FILE" ||
  fail "network name not saved: $(grep wlSsid "$MODEM_STATE_FILE")"
grep -qx 'saved.pvc1.protocol=1' "$MODEM_STATE_FILE" || fail "the provider's PPPoA not saved"

click 651 457  # finish: opens the local help page and ends
for _ in $(seq 50); do kill -0 "$wizard" 2>/dev/null || break; sleep 0.1; done
kill -0 "$wizard" 2>/dev/null && fail "the wizard did not end after finish"
set +e
wait "$wizard"
code=$?
set -e
wizard=""
[ "$code" -eq 0 ] || fail "the wizard ended with $code"
cp "$MODEM_STATE_FILE" "$out/modem-state.txt"
echo "PASS: $shown pages on screen, the modem kept the account and the network name"
