"""The manuals and quick guides of the Docs folder.

Each page is painted like the wizard's pictures (so Cyrillic needs no font
embedding) and wrapped into a small PDF whose bytes depend on nothing but
the page pictures: no dates, no random document IDs. The file names come
from each language's default.ini source, so the two cannot drift apart.
"""

import configparser
import pathlib
import tempfile

import artwork
import docs_words
import widgets
from mkpictures import DATA
from paint import BAND, BAND_DARK, INK, MUTED, RULE, SANS, SANS_BOLD, Canvas, Overflow, para_height

HERE = pathlib.Path(__file__).resolve().parent
PAGE_W, PAGE_H = 794, 1123  # A4 at 96 dpi
MARGIN = 64


# -- page painting --------------------------------------------------------------
def _page(words, doc_title, number):
    c = Canvas(PAGE_W, PAGE_H, "#FFFFFF")
    c.gradient(0, 0, PAGE_W, 70, widgets.BAND_LIGHT, BAND)
    c.rect(0, 70, PAGE_W - 1, 73, widgets.AMBER)
    c.rich(MARGIN, 16, [("Norvane ", "#FFFFFF"), ("Quillon", widgets.AMBER)], 26)
    c.rect(MARGIN, PAGE_H - 60, PAGE_W - MARGIN, PAGE_H - 60, RULE)
    c.text(MARGIN, PAGE_H - 54, 500, 20, doc_title, 10, MUTED, SANS)
    c.text(PAGE_W - MARGIN - 100, PAGE_H - 54, 100, 20, str(number), 10, MUTED, SANS, "East")
    return c


def _sections(c, sections, y):
    for heading, body in sections:
        c.text(MARGIN, y, PAGE_W - 2 * MARGIN, 26, heading, 16, BAND, SANS_BOLD)
        y += 30
        c.para(MARGIN, y, PAGE_W - 2 * MARGIN, body, 13, INK, SANS, spacing=4)
        y += para_height(PAGE_W - 2 * MARGIN, body, 13, SANS, 4) + 22
    if y > PAGE_H - 70:
        raise Overflow(f"the sections run into the page footer ({y} px)")
    return y


def _cover(words, doc, product):
    c = _page(words, doc["title"], 1)
    c.text(MARGIN, 200, PAGE_W - 2 * MARGIN, 50, doc["title"], 36, BAND, SANS_BOLD)
    c.text(MARGIN, 256, PAGE_W - 2 * MARGIN, 30, product, 18, INK, SANS)
    artwork.router_front(c, (PAGE_W - 300) // 2, 420)
    c.text(MARGIN, 900, PAGE_W - 2 * MARGIN, 24, words["edition"], 13, MUTED, SANS)
    return c


def _text_page(words, doc, number, y=110):
    c = _page(words, doc["title"], number)
    if number == 1:
        c.text(MARGIN, y, PAGE_W - 2 * MARGIN, 44, doc["title"], 30, BAND, SANS_BOLD)
        y += 56
    _sections(c, doc["sections"], y)
    return c


def _guide_page(words, doc, language):
    """A quick guide: an introduction, then numbered wizard screenshots."""
    c = _page(words, doc["title"], 1)
    c.text(MARGIN, 100, PAGE_W - 2 * MARGIN, 44, doc["title"], 30, BAND, SANS_BOLD)
    c.para(MARGIN, 156, PAGE_W - 2 * MARGIN, doc["intro"], 13, INK, SANS, spacing=4, max_h=76)
    folder = DATA / "Language" / language
    shot_w, shot_h = 318, 212
    for i, (picture, caption) in enumerate(doc["steps"]):
        col, row = i % 2, i // 2
        x = MARGIN + col * (shot_w + 30)
        y = 240 + row * (shot_h + 110)
        c.rect(x - 1, y - 1, x + shot_w, y + shot_h, "none", RULE, 1)
        c.image(str(folder / picture), x, y, shot_w, shot_h)
        c.circle(x + 14, y + shot_h + 24, 13, BAND)
        c.text(x + 1, y + shot_h + 11, 27, 27, str(i + 1), 14, "#FFFFFF", SANS_BOLD, "Center")
        c.para(x + 36, y + shot_h + 14, shot_w - 36, caption, 12.5, BAND_DARK, SANS, spacing=3, max_h=80)
    return c


def pages_of(language, kind):
    words = docs_words.WORDS[language]
    doc = words[kind]
    if kind == "manual":
        return [_cover(words, doc, words["router"]), _text_page(words, doc, 2)]
    if kind == "kxmanual":
        return [_text_page(words, doc, 1)]
    return [_guide_page(words, doc, language)]


# -- PDF ------------------------------------------------------------------------
def _utf16_hex(text):
    return "<FEFF" + text.encode("utf-16-be").hex().upper() + ">"


def pdf_from_jpegs(pages, title):
    """pages: list of (jpeg bytes, width, height). Returns the PDF bytes."""
    objects = []  # object n is objects[n - 1]
    kids = []
    for index, (jpeg, width, height) in enumerate(pages):
        page_no = 4 + 3 * index
        kids.append(f"{page_no} 0 R")
        content = b"q 595.28 0 0 841.89 0 0 cm /Im0 Do Q"
        objects.append((f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595.28 841.89] "
                        f"/Resources << /XObject << /Im0 {page_no + 2} 0 R >> >> /Contents {page_no + 1} 0 R >>")
                       .encode())
        objects.append(b"<< /Length %d >>\nstream\n" % len(content) + content + b"\nendstream")
        objects.append((f"<< /Type /XObject /Subtype /Image /Width {width} /Height {height} /ColorSpace /DeviceRGB "
                        f"/BitsPerComponent 8 /Filter /DCTDecode /Length {len(jpeg)} >>\nstream\n").encode()
                       + jpeg + b"\nendstream")
    head = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        f"<< /Type /Pages /Kids [{' '.join(kids)}] /Count {len(pages)} >>".encode(),
        f"<< /Title {_utf16_hex(title)} /Producer (Norvane Quillon CD) >>".encode(),
    ]
    objects = head + objects
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += f"{number} 0 obj\n".encode() + body + b"\nendobj\n"
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    out += b"".join(f"{offset:010d} 00000 n \n".encode() for offset in offsets)
    out += f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R /Info 3 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
    return bytes(out)


def document_names(language):
    parser = configparser.ConfigParser(interpolation=None)
    parser.read(HERE / "text" / language / "default.ini", encoding="utf-8")
    section = parser["Defaults"]
    return {"manual": section["manualName"], "guide": section["qigName"], "kxmanual": section["kxManualName"],
            "kxguide": section["kxQIGName"]}


def write_all(folder):
    folder.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        for language in docs_words.WORDS:
            for kind, name in document_names(language).items():
                jpegs = []
                for i, canvas in enumerate(pages_of(language, kind)):
                    path = pathlib.Path(tmp) / f"{language}_{kind}_{i}.jpg"
                    canvas.save(str(path), "doc")
                    jpegs.append((path.read_bytes(), PAGE_W, PAGE_H))
                title = docs_words.WORDS[language][kind]["title"]
                (folder / name).write_bytes(pdf_from_jpegs(jpegs, title))
                print("wrote Docs/" + name)
