#!/usr/bin/env python3
"""Writes the text files of the sample edition's data folder.

    python3 tools/mkpictures/mkdata.py

The wizard reads ANSI files as a Windows CD ships them, so every file is
written in its language's code page (Windows-1252, or Windows-1251 for
Russian) with CRLF line ends. The sources under text/ are UTF-8 so that they
stay readable and diffable; edit those, never the generated files.

Written here: setup.ini and autorun.inf; per language dslutility.ini and dslutility_kit.ini
(from the layout and picture tables in skin.py), default.ini, the three
catalogues and the ISP database; Language/Internet, Language/ChkNIC, the
readme files of the program folders and the PDF documents (mkdocs.py).
Pictures are painted by mkpictures.py.
"""

import sys

sys.dont_write_bytecode = True  # keep the source folder free of __pycache__

import pathlib

import mkdocs
import skin

HERE = pathlib.Path(__file__).resolve().parent
TEXT = HERE / "text"
DATA = HERE.parents[1] / "data"

CODE_PAGE = {"English": "cp1252", "German": "cp1252", "Russian": "cp1251"}
LANGUAGE_LIST = ["Czech", "Danish", "English", "Finnish", "Flemish", "French", "German", "Greek", "Hungarian",
                 "Italian", "Norwegian", "Polish", "Portugese", "Russian", "Spanish", "Swedish"]
COPIED = ["application.err", "common.err", "frm.str", "default.ini", "isplist.txt"]


def write_ansi(path, text, code_page="cp1252", errors="strict"):
    """Writes text in a Windows code page with CRLF line ends."""
    lines = text.replace("\r\n", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes("".join(line + "\r\n" for line in lines).encode(code_page, errors))


EDITION_LABEL = "Norvane Quillon QR-5120G"


def autorun_inf():
    """What Windows does when the CD is inserted: start the wizard, show its icon and the label."""
    return "\n".join(["[autorun]", "open=Quillon.exe", "icon=Quillon.exe,0", f"label={EDITION_LABEL}"]) + "\n"


def setup_ini():
    offered = {"English", "German", "Russian"}
    lines = [f"; Edition profile of the {EDITION_LABEL} CD.", "[Profile]", "profileName=GE", "isBundle=0",
             "isMultiLang=1", "DefaultLanguage=English", "checkModemPwd=1", "", "[Language]"]
    lines += [f"{name}={int(name in offered)}" for name in LANGUAGE_LIST]
    return "\n".join(lines) + "\n"


def settings_file(language, kit):
    name = "dslutility_kit.ini" if kit else "dslutility.ini"
    edition = "kit edition (router and KXU-300 USB adapter)" if kit else "router edition"
    out = [
        ";" + "*" * 75,
        f"; {name} - Norvane Quillon QR-5120G setup wizard, {language}, {edition}",
        "; Control layout, skin pictures, switches and program settings.",
        "; Keep the four blocks in this order: the wizard reads layout values,",
        "; then pictures, then switches, then settings, and drops a line that",
        "; comes after a block of a later kind.",
        "; Positions are pixels in the 722 x 482 window; page backgrounds sit at 1,1.",
        ";" + "*" * 75,
        "",
        "[Layout]",
    ]
    for group, entries in skin.LAYOUT:
        out.append(f"*** {group} ***")
        for key, *values in entries:
            for attribute, value in zip(("Left", "Top", "Width"), values):
                out.append(f"{key}.{attribute}={value}")
        out.append("")
    out.append("[Pictures]")
    kit_rows = {key: name for key, name, _, _ in skin.pictures_for(kit)}
    for group, entries in skin.PICTURES:
        out.append(f"*** {group} ***")
        for key, *_ in entries:
            out.append(f"{key}.Picture={kit_rows[key]}")
        out.append("")
    out.append("[Switches]")
    out += [f"{key}={value}" for key, value in skin.STATES]
    out += ["", "[Settings]"]
    for key, value, comment in skin.SETTINGS:
        if comment:
            out.append(f"; {comment}")
        out.append(f"{key}={value}")
    return "\n".join(out) + "\n"


def main():
    write_ansi(DATA / "setup.ini", setup_ini())
    write_ansi(DATA / "autorun.inf", autorun_inf())
    for language, code_page in CODE_PAGE.items():
        folder = DATA / "Language" / language
        for kit in (False, True):
            name = "dslutility_kit.ini" if kit else "dslutility.ini"
            write_ansi(folder / name, settings_file(language, kit))
        for name in COPIED:
            write_ansi(folder / name, (TEXT / language / name).read_text(encoding="utf-8"), code_page)
    # The help pages serve every language; characters outside the page's code
    # page become HTML character references.
    for name in ("Internet.htm", "SurfInternet.htm"):
        text = (TEXT / "Internet" / name).read_text(encoding="utf-8")
        write_ansi(DATA / "Language" / "Internet" / name, text, "cp1252", "xmlcharrefreplace")
    write_ansi(DATA / "Language" / "ChkNIC" / "ChkNIC.bat", (TEXT / "ChkNIC" / "ChkNIC.bat").read_text())
    readmes = {"Acrobat": "Acrobat.txt", "Driver": "Driver.txt", "DriverVista": "DriverVista.txt",
               "KXU-300_v1.10b05_20070529": "KXU-300.txt", "Docs": "Docs.txt"}
    for folder, source in readmes.items():
        write_ansi(DATA / folder / "readme.txt", (TEXT / "readme" / source).read_text())
    mkdocs.write_all(DATA / "Docs")
    print("wrote", DATA)


if __name__ == "__main__":
    main()
