"""Small glyphs drawn into the round discs of the menu and completion buttons."""

from paint import SANS_BOLD


def check(c, cx, cy, s, color, width=2.5):
    c.polyline([(cx - s, cy), (cx - s // 3, cy + s * 2 // 3), (cx + s, cy - s * 2 // 3)], color, width)


def warning(c, cx, cy, color):
    c.polygon([(cx, cy - 14), (cx + 15, cy + 12), (cx - 15, cy + 12)], color)
    c.text(cx - 6, cy - 8, 13, 19, "!", 14, "#FFFFFF", SANS_BOLD, "Center")


def _play(c, cx, cy, color):
    c.polygon([(cx - 4, cy - 7), (cx + 7, cy), (cx - 4, cy + 7)], color)


def _sheet(c, cx, cy, color):
    c.polygon([(cx - 6, cy - 8), (cx + 3, cy - 8), (cx + 7, cy - 4), (cx + 7, cy + 8), (cx - 6, cy + 8)], "none",
              color, 1.6)
    for dy in (-2, 1, 4):
        c.polyline([(cx - 3, cy + dy), (cx + 4, cy + dy)], color, 1.2)


def _book(c, cx, cy, color):
    c.polygon([(cx, cy - 5), (cx - 8, cy - 8), (cx - 8, cy + 6), (cx, cy + 8)], "none", color, 1.6)
    c.polygon([(cx, cy - 5), (cx + 8, cy - 8), (cx + 8, cy + 6), (cx, cy + 8)], "none", color, 1.6)


def _reader(c, cx, cy, color):
    _sheet(c, cx, cy - 1, color)
    c.polyline([(cx + 2, cy + 2), (cx + 2, cy + 10)], color, 2)
    c.polyline([(cx - 1, cy + 7), (cx + 2, cy + 10), (cx + 5, cy + 7)], color, 2)


def _support(c, cx, cy, color):
    c.text(cx - 9, cy - 10, 19, 21, "?", 15, color, SANS_BOLD, "Center")


def _usb(c, cx, cy, color):
    c.rect(cx - 3, cy - 2, cx + 3, cy + 8, color)
    c.rect(cx - 2, cy - 8, cx + 2, cy - 2, "none", color, 1.2)
    c.polyline([(cx, cy + 8), (cx, cy + 9)], color, 2)


def _install(c, cx, cy, color):
    c.polyline([(cx, cy - 8), (cx, cy + 3)], color, 2.2)
    c.polyline([(cx - 5, cy - 2), (cx, cy + 3), (cx + 5, cy - 2)], color, 2.2)
    c.polyline([(cx - 7, cy + 7), (cx + 7, cy + 7)], color, 2.2)


def _globe(c, cx, cy, color):
    c.circle(cx, cy, 8, "none", color, 1.6)
    c.ellipse(cx, cy, 3.5, 8, "none", color, 1.2)
    c.polyline([(cx - 8, cy), (cx + 8, cy)], color, 1.2)


def _finish(c, cx, cy, color):
    check(c, cx, cy, 6, color, 2.5)


_GLYPHS = {
    "quick": _play,
    "guide": _sheet,
    "manual": _book,
    "reader": _reader,
    "support": _support,
    "kxmanual": _book,
    "kxguide": _sheet,
    "kxinstall": _install,
    "usb": _usb,
    "surf": _globe,
    "finish": _finish,
}


def draw(c, kind, cx, cy, color):
    _GLYPHS[kind](c, cx, cy, color)
