#!/usr/bin/env python3
"""Paints every skin picture of every language folder of the sample edition.

    python3 tools/mkpictures/mkpictures.py            # all languages
    python3 tools/mkpictures/mkpictures.py German     # one language
    python3 tools/mkpictures/mkpictures.py --key IMG_DSLNotice English

The picture table is skin.PICTURES (key -> file, kind, what to paint); the
words come from words_<language>.py. Output goes to data/Language/<name>/.
Runs convert from ImageMagick 6 (/usr/bin/convert) and the DejaVu fonts.
"""

import sys

sys.dont_write_bytecode = True  # keep the source folder free of __pycache__

import argparse
import concurrent.futures
import importlib
import pathlib

import pages
import skin
import widgets
from paint import BG, FOOTER, Canvas

LANGUAGES = ["English", "German", "Russian"]
DATA = pathlib.Path(__file__).resolve().parents[2] / "data"


def words_of(language):
    return importlib.import_module("words_" + language.lower()).WORDS


def _nav(words, role, path):
    width, height = skin.NAV_SIZE[role]
    c = Canvas(width, height, FOOTER)
    widgets.footer_button(c, 0, 0, width, height, words["nav"][role], role == "next", lit=True)
    c.save(path, "bmp")


def _footer(words, which, path):
    role = "exit" if which == "close" else "next"
    width, height = skin.NAV_SIZE[role]
    c = Canvas(width, height, FOOTER)
    widgets.footer_button(c, 0, 0, width, height, words[which], which == "finish", lit=True)
    c.save(path, "bmp")


def _menu(words, item, path):
    width, height = skin.MENU_SIZE
    c = Canvas(width, height, BG)
    widgets.card_button(c, 0, 0, width, height, item, *words["menu"][item], lit=True)
    c.save(path, "jpg444")


def _big(words, item, path):
    width, height = skin.BIG_BUTTON_SIZE
    c = Canvas(width, height, BG)
    widgets.card_button(c, 0, 0, width, height, item, *words["big"][item], lit=True)
    c.save(path, "jpg444")


def _label(words, field, path, grey):
    c = Canvas(*skin.LABEL_SIZE)
    widgets.label_picture(c, words["fields"][field], grey)
    c.save(path, "bmp")


def _notice(words, tone, path):
    c = Canvas(*skin.ISP_NOTICE[2:])
    widgets.notice_picture(c, words["notice"], tone == "grey")
    c.save(path, "jpg444")


def _keyhelp(words, kind, path):
    c = Canvas(*skin.KEY_HELP[2:])
    widgets.note_box(c, 0, 0, c.width, c.height, *words["keyhelp"][kind])
    c.save(path, "jpg444")


def _optfield(words, kind, path):
    c = Canvas(*skin.OPT_FIELD_SIZE)
    widgets.field_label(c, 0, 0, words["optfield"][kind])
    c.save(path, "jpg444")


def _remindfield(words, kind, path):
    c = Canvas(*skin.REMIND_KEY_FIELD[2:])
    c.text(6, 0, c.width - 6, c.height, words["remindfield"][kind], 12.5, widgets.BAND, widgets.SANS_BOLD)
    c.save(path, "jpg444")


def _warning(words, _, path):
    c = Canvas(*skin.REMIND_WARNING[2:])
    widgets.note_box(c, 0, 0, c.width, c.height, *words["warning"], tone="alert")
    c.save(path, "jpg444")


PAINTERS = {
    "page": lambda words, arg, path: pages.paint(arg, words, path),
    "nav": _nav,
    "footer": _footer,
    "menu": _menu,
    "big": _big,
    "label": lambda words, arg, path: _label(words, arg, path, False),
    "label_grey": lambda words, arg, path: _label(words, arg, path, True),
    "notice": _notice,
    "keyhelp": _keyhelp,
    "optfield": _optfield,
    "remindfield": _remindfield,
    "warning": _warning,
}


def jobs_for(language, only_key=None):
    """Every distinct picture file of one language folder, plain and kit edition."""
    seen = {}
    for kit in (False, True):
        for key, name, kind, arg in skin.pictures_for(kit):
            if only_key and key != only_key:
                continue
            seen.setdefault(name, (kind, arg))
    folder = DATA / "Language" / language
    return [(language, kind, arg, str(folder / name)) for name, (kind, arg) in sorted(seen.items())]


def run(job):
    language, kind, arg, path = job
    PAINTERS[kind](words_of(language), arg, path)
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("languages", nargs="*", default=LANGUAGES)
    parser.add_argument("--key", help="paint only the picture of this Picture key")
    parser.add_argument("-j", "--jobs", type=int, default=2)
    args = parser.parse_args()
    jobs = []
    for language in args.languages:
        (DATA / "Language" / language).mkdir(parents=True, exist_ok=True)
        jobs += jobs_for(language, args.key)
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        for path in pool.map(run, jobs):
            print("painted", pathlib.Path(path).relative_to(DATA))


if __name__ == "__main__":
    main()
