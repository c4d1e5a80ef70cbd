# Sourced by the Wine screen tests: finds the Wine loader and a prefix to run in.
# Uses $WINEPREFIX when it holds a ready prefix (./test prepares one); otherwise makes a private
# one that wine_env_cleanup stops and removes. Fails loudly when Wine is missing: a Wine test
# must not pass by not running.
wine_loader=""
for candidate in /usr/lib/wine/wine "$(command -v wine 2>/dev/null)"; do
  if [ -n "$candidate" ] && [ -x "$candidate" ]; then
    wine_loader=$candidate
    break
  fi
done
[ -n "$wine_loader" ] || { echo "wine_env: Wine is not installed" >&2; exit 2; }
export WINEDEBUG=-all
# win2k and winxp also give the program that Windows's answers to the arguments it refused and
# Wine takes (old_windows/): the program under test starts through the launcher that
# QUILLON_OLD_WINDOWS_LAUNCHER names, as "$wine_loader" "${wine_launcher[@]}" PROGRAM.
wine_launcher=()
case ${QUILLON_WINE_VERSION:-} in
  win2k | winxp)
    [ -n "${QUILLON_OLD_WINDOWS_LAUNCHER:-}" ] ||
      { echo "wine_env: $QUILLON_WINE_VERSION needs QUILLON_OLD_WINDOWS_LAUNCHER" >&2; exit 2; }
    wine_launcher=("$QUILLON_OLD_WINDOWS_LAUNCHER")
    ;;
esac
own_prefix=""
# The system folders hold over a gigabyte of libraries that a run only reads: where the file
# system allows, they are linked rather than copied, so that a private prefix costs no time to
# make or to remove. The registry and everything else a run may write is copied.
copy_prefix() {  # FROM TO
  local from=$1 to=$2 windows=drive_c/windows folder
  # Tests in the shared prefix run meanwhile: their temporary files are left out, and a file
  # that changes while it is read (tar's status 1) is taken as it was; the server writes its
  # registry files whole, by renaming.
  (cd "$from" && tar --exclude="./$windows/system32" --exclude="./$windows/syswow64" \
    --exclude="./drive_c/users/*/Temp/*" -cf - . || [ $? -eq 1 ]) | tar -xf - -C "$to"
  for folder in system32 syswow64; do
    [ -d "$from/$windows/$folder" ] || continue
    cp -al "$from/$windows/$folder" "$to/$windows/" 2>/dev/null && continue
    rm -rf "${to:?}/$windows/$folder"
    cp -a "$from/$windows/$folder" "$to/$windows/"
  done
}
# WINE_ENV_PRIVATE=1 asks for a prefix of our own even when one is given: Wine's sockets live in
# its server, so a test in a network namespace needs a server started in there; and a server's
# desktop stays on the X display of the first window it showed, so each test with a display of
# its own needs a server of its own too.
if [ "${WINE_ENV_PRIVATE:-0}" = 1 ] && [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ]; then
  own_prefix=$(mktemp -d /tmp/quillon-wine.XXXXXX)
  copy_prefix "$WINEPREFIX" "$own_prefix"
  export WINEPREFIX=$own_prefix
elif [ -z "${WINEPREFIX:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
  own_prefix=$(mktemp -d /tmp/quillon-wine.XXXXXX)
  export WINEPREFIX=$own_prefix
  # The server must not hold the test's output pipes open, or ctest waits for it.
  wineboot -i </dev/null >/dev/null 2>&1 || { echo "wine_env: wineboot failed" >&2; exit 2; }
  wineserver -w </dev/null >/dev/null 2>&1
fi

wine_env_cleanup() {
  if [ -n "$own_prefix" ]; then
    WINEPREFIX=$own_prefix wineserver -k </dev/null >/dev/null 2>&1 || true
    rm -rf "$own_prefix"
  fi
}

# Runs a Windows program with its output in a log file (never the caller's pipes).
wine_run() {
  local log=$1
  shift
  "$wine_loader" "$@" </dev/null >>"$log" 2>&1
}

# A prefix of our own, which nobody else shares, gets its settings in one go. The test's display
# has no window manager, so Wine manages the windows itself, as Windows does: it draws their
# frames and captions and gives the keyboard to the window it activates, instead of waiting up
# to two seconds for a manager whenever it maps or unmaps one. QUILLON_WINE_VERSION (win2k,
# winxp, vista, win7, ...) makes the prefix tell its programs that Windows version, as a
# compatibility setting does on Windows: the wizard's version-dependent paths then run as on
# that system.
[ -z "${QUILLON_WINE_VERSION:-}" ] || [ -n "$own_prefix" ] ||
  { echo "wine_env: a Windows version needs a prefix of our own" >&2; exit 2; }
if [ -n "$own_prefix" ]; then
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
    [ -z "${QUILLON_WINE_VERSION:-}" ] ||
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine]\r\n"Version"="%s"\r\n' "$QUILLON_WINE_VERSION"
  } >"$own_prefix/drive_c/quillon-test-settings.reg"
  "$wine_loader" reg import 'C:\quillon-test-settings.reg' </dev/null >/dev/null 2>&1 ||
    { echo "wine_env: cannot set up the prefix" >&2; exit 2; }
  [ -z "${QUILLON_WINE_VERSION:-}" ] ||
    echo "wine_env: the prefix reports Windows as $QUILLON_WINE_VERSION"
fi
