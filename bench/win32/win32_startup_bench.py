#!/usr/bin/env python3
"""Size and start-up of the Windows executable, under Wine on the current X display.

    win32_startup_bench.py QUILLON_EXE BARE_WINDOW_EXE [RUNS]

Quillon.exe is stripped into a scratch copy of its CD folder, as the CD carries it, and its size
compared with the 2 MB target. Then that wizard (QUILLON_EXIT_AFTER_FIRST_FRAME=1) and the bare
Win32 window showing the main menu JPEG, stripped too, are each started RUNS times (default 11), interleaved, in a private Wine
prefix whose server is kept warm, so both pay the same Wine start. A run's time is taken by this
launcher, from just before the start to the "first-frame-ms" line the program prints once its
first frame went to the display; the program's own figure (since its process was created) is
shown beside it. Exit code 0 when both targets are met, 1 when one is missed, 2 on an error.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SIZE_TARGET = 2 * 1024 * 1024
RATIO_TARGET = 1.5


def wine_loader():
    for candidate in ("/usr/lib/wine/wine", shutil.which("wine")):
        if candidate and os.access(candidate, os.X_OK):
            return candidate
    sys.exit("win32_startup_bench: Wine is not installed")


def quiet(cmd, env):
    # Wine's server must not inherit our pipes: a caller reading them would wait for it.
    return subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode


def make_prefix(env):
    prefix = tempfile.mkdtemp(prefix="quillon-bench-wine.")
    source = os.environ.get("WINEPREFIX", "")
    if source and os.path.isfile(os.path.join(source, "system.reg")):
        shutil.rmtree(prefix)
        shutil.copytree(source, prefix, symlinks=True)
    else:
        env["WINEPREFIX"] = prefix
        if quiet(["wineboot", "-i"], env) != 0:
            sys.exit("win32_startup_bench: wineboot failed")
        quiet(["wineserver", "-w"], env)
    env["WINEPREFIX"] = prefix
    return prefix


def stripped(exe, folder):
    strip = shutil.which("i686-w64-mingw32-strip")
    if strip is None:
        sys.exit("win32_startup_bench: i686-w64-mingw32-strip is not installed")
    copy = os.path.join(folder, os.path.basename(exe))
    subprocess.run([strip, "-o", copy, exe], check=True)
    return copy


def shipped_copy(exe, scratch):
    """The program as the CD carries it: stripped, beside links to the rest of its CD folder."""
    cd_dir = os.path.dirname(exe)
    for name in os.listdir(cd_dir):
        if name != os.path.basename(exe):
            os.symlink(os.path.join(cd_dir, name), os.path.join(scratch, name))
    return stripped(exe, scratch)


def run_once(argv, cwd, env):
    """Launcher-side and in-process first-frame times in ms, or None."""
    start = time.monotonic_ns()
    proc = subprocess.Popen(argv, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    outside = inside = None
    for line in proc.stdout:
        if line.startswith("first-frame-ms "):
            outside = (time.monotonic_ns() - start) / 1e6
            inside = float(line.split()[1])
            break
    proc.stdout.close()
    code = proc.wait(timeout=60)
    if outside is None or code != 0:
        return None
    return outside, inside


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    bare = os.path.abspath(sys.argv[2])
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 11
    if "DISPLAY" not in os.environ:
        sys.exit("win32_startup_bench: no X display (run it through tests/gui/with_xvfb.sh)")
    scratch = tempfile.mkdtemp(prefix="quillon-bench-cd.")
    try:
        os.mkdir(os.path.join(scratch, "cd"))
        return measure(shipped_copy(os.path.abspath(sys.argv[1]), os.path.join(scratch, "cd")),
                       stripped(bare, scratch), runs)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def measure(quillon, bare, runs):
    cd_dir = os.path.dirname(quillon)
    picture = os.path.join(cd_dir, "Language", "English", "mainmenu.jpg")
    size = os.path.getsize(quillon)
    loader = wine_loader()
    env = dict(os.environ, WINEDEBUG="-all")
    prefix = make_prefix(env)
    try:
        subprocess.run(["wineserver", "-p"], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        quiet([loader, "cmd", "/c", "exit"], env)
        programs = [
            ("bare Win32 window, one JPEG",
             [loader, bare, "--exit-after-first-frame", picture], None, env),
            ("wizard, Quillon.exe", [loader, quillon], cd_dir,
             dict(env, QUILLON_EXIT_AFTER_FIRST_FRAME="1")),
        ]
        # One start of each first, not counted: the first start in a prefix loads more.
        for _, argv, cwd, penv in programs:
            run_once(argv, cwd, penv)
        samples = {name: [] for name, *_ in programs}
        inside = {name: [] for name, *_ in programs}
        for _ in range(runs):
            for name, argv, cwd, penv in programs:
                result = run_once(argv, cwd, penv)
                if result is None:
                    sys.exit(f"win32_startup_bench: {name} did not report its first frame")
                samples[name].append(result[0])
                inside[name].append(result[1])
    finally:
        quiet(["wineserver", "-k"], env)
        shutil.rmtree(prefix, ignore_errors=True)

    size_ok = size < SIZE_TARGET
    print(f"Quillon.exe stripped: {size} bytes ({size / 1048576:.2f} MB), "
          f"target < 2 MB: {'met' if size_ok else 'MISSED'}")
    reference = statistics.median(samples[programs[0][0]])
    print(f"start-up to the first frame under Wine, median of {runs} interleaved runs")
    for name, *_ in programs:
        median = statistics.median(samples[name])
        print(f"  {name:<30} {median:8.1f} ms  ratio {median / reference:.2f}"
              f"  (in-process {statistics.median(inside[name]):.0f} ms)")
    ratio = statistics.median(samples[programs[1][0]]) / reference
    ratio_ok = ratio <= RATIO_TARGET
    print(f"wizard ratio {ratio:.2f} (target <= {RATIO_TARGET}): {'met' if ratio_ok else 'MISSED'}")
    return 0 if size_ok and ratio_ok else 1


if __name__ == "__main__":
    sys.exit(main())
