#!/usr/bin/env python3
"""The edition checker on copies of the sample edition: the sample passes, each fault gives its
own finding in the file at fault, and a valid but unusual edition passes.

    edition_check_test.py CHECKER SAMPLE_EDITION_DIR
"""

import pathlib
import shutil
import subprocess
import sys
import tempfile

CHECKER, SAMPLE = sys.argv[1], pathlib.Path(sys.argv[2])


def run(edition):
    result = subprocess.run([sys.executable, "-B", CHECKER, str(edition)], capture_output=True, text=True)
    return result.returncode, result.stdout


def edit(path, old, new):
    data = path.read_bytes()
    assert old in data, (path, old)
    path.write_bytes(data.replace(old, new, 1))


def append(path, data):
    with open(path, "ab") as f:
        f.write(data)


def many_providers(cd):
    append(cd / "Language/English/isplist.txt",
           b"@Longland\r\n" + b"".join(b"Provider %d, PPPoE, LLC, 0, 35\r\n" % n for n in range(51)))


def many_countries(cd):
    append(cd / "Language/German/isplist.txt",
           b"".join(b"@Land %d\r\nAnbieter, PPPoE, LLC, 1, 32\r\n" % n for n in range(500)))


def polish_unoffered(cd):
    shutil.copytree(cd / "Language/English", cd / "Language/Polish")


# Each fault: (name, change, file the finding names, words of the finding).
FAULTS = [
    ("undefined byte", lambda cd: append(cd / "Language/Russian/application.err", b"\x98\r\n"),
     "Language/Russian/application.err:", "0x98 is no character of Windows-1251"),
    ("UTF-8 text", lambda cd: append(cd / "Language/German/isplist.txt", "@Österreich\r\n".encode()),
     "Language/German/isplist.txt:", "the text is UTF-8"),
    ("folder not offered", polish_unoffered, "Language/Polish", "does not offer this language"),
    ("name outside the 16", lambda cd: append(cd / "setup.ini", b"Klingon=1\r\n"),
     "setup.ini:", "Klingon is not one of the 16 language names"),
    ("no document reader", lambda cd: (cd / "Acrobat/pdfreader.exe").unlink(),
     "Acrobat/pdfreader.exe", "Install Document Reader shows application message 3"),
    ("isBundle 2", lambda cd: edit(cd / "setup.ini", b"isBundle=0", b"isBundle=2"),
     "setup.ini:", "isBundle=2 is neither 0"),
    ("51 providers", many_providers, "Language/English/isplist.txt:", "is provider 51 of Longland"),
    ("501 countries", many_countries, "Language/German/isplist.txt:", "is country 501"),
    ("picture of a shown page", lambda cd: (cd / "Language/German/ppp_next.bmp").unlink(),
     "Language/German/dslutility.ini:", "ppp_next.bmp is missing"),
    ("misspelt default language", lambda cd: edit(cd / "setup.ini", b"DefaultLanguage=English",
                                                  b"DefaultLanguage=english"),
     "setup.ini:", "DefaultLanguage=english: there is no folder"),
]


def unusual(cd):
    """Two countries, one without a support address, the other's not http://; a test host
    outside the documentation ranges; no wireless pages; a router edition without the adapter's
    pages; a progressive JPEG; a palette BMP."""
    for language in ("English", "German", "Russian"):
        folder = cd / "Language" / language
        (folder / "isplist.txt").write_bytes(b"@Inland\r\nNetz, PPPoE, LLC, 1, 32\r\n"
                                             b"@Ausland{https://help.example}\r\nWeit, PPPoA, , 8, 35\r\n")
        (folder / "default.ini").write_bytes(b"[Defaults]\r\nmanualName=manual_english.pdf\r\n"
                                             b"qigName=qig_english.pdf\r\n")
        settings = folder / "dslutility.ini"
        edit(settings, b"AppliedModules=QR-5120G:ADSL,ROUTER,WAP", b"AppliedModules=QR-5120:ADSL,ROUTER")
        edit(settings, b"InternetTestIPAddresses=198.51.100.1", b"InternetTestIPAddresses=10.1.2.3")
        edit(settings, b"PL_WRadioSettingDlg.Enabled=true", b"PL_WRadioSettingDlg.Enabled=false")
        for name in ("radio_next.bmp", "unplug.jpg", "wlandone_finish.bmp"):
            (folder / name).unlink()
    english = cd / "Language/English"
    subprocess.run(["/usr/bin/convert", english / "power.jpg", "-interlace", "JPEG", english / "power.jpg"],
                   check=True)
    subprocess.run(["/usr/bin/convert", english / "power_next.bmp", "-colors", "16", "-type", "Palette",
                    f"BMP3:{english / 'power_next.bmp'}"], check=True)
    assert english.joinpath("power.jpg").read_bytes().find(b"\xff\xc2") > 0, "not progressive"
    assert english.joinpath("power_next.bmp").read_bytes()[28] <= 8, "not a palette bitmap"


def main():
    failures = []
    with tempfile.TemporaryDirectory() as temp:
        code, out = run(SAMPLE)
        if code != 0:
            failures.append(f"the sample edition fails:\n{out}")
        for name, change, where, words in FAULTS + [("unusual but valid", unusual, None, None)]:
            cd = pathlib.Path(temp) / name.replace(" ", "_")
            shutil.copytree(SAMPLE, cd, symlinks=True)
            change(cd)
            code, out = run(cd)
            findings = [line for line in out.splitlines() if not line.startswith("note:")][:-1]
            if where is None:
                if code != 0:
                    failures.append(f"{name}: the valid edition fails:\n{out}")
            elif code != 1 or not any(line.startswith(where) and words in line for line in findings):
                failures.append(f"{name}: no finding '{where} ... {words}' (exit {code}):\n{out}")
            elif len(findings) != 1:
                failures.append(f"{name}: more than its own finding:\n{out}")
    for failure in failures:
        print("FAIL", failure)
    print(f"{len(FAULTS) + 2} editions checked, {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
