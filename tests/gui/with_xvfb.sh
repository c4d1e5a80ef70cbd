#!/usr/bin/env bash
# Runs a command against a private Xvfb server: `with_xvfb.sh CMD ARGS...`. The server picks a
# free display number itself (-displayfd), so tests that start at once never race for one; it is
# exported as DISPLAY, and the server is stopped when the command ends.
# Fails loudly when Xvfb is missing: a GUI test must not pass by not running.
set -u
if ! command -v Xvfb >/dev/null; then
  echo "with_xvfb: Xvfb is not installed" >&2
  exit 2
fi
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -f "$number"' EXIT
for _ in $(seq 1 200); do
  [ -s "$number" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
display=$(tr -dc '0-9' <"$number")
if [ -z "$display" ] || [ ! -e "/tmp/.X11-unix/X${display}" ]; then
  echo "with_xvfb: could not start Xvfb" >&2
  exit 2
fi
export DISPLAY=":${display}"
# A window test runs the real wizard, whose quick installation switches every wired adapter to
# DHCP and renews it: in the machine's own namespace that would take the machine's address away.
# So no test renews unless it asks; the namespace walk asks inside the namespace it made.
export QUILLON_DHCLIENT=${QUILLON_DHCLIENT:-none}
"$@"
