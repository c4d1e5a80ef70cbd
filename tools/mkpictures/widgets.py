"""Pieces shared by the page backgrounds and the small pictures.

A button is always painted by the same function, once in its normal state
into the page background and once in its lit state as the hover picture, so
the two line up pixel for pixel.
"""

import icons
import skin
from paint import (ALERT, AMBER, AMBER_LIGHT, BAND, BAND_DARK, BAND_LIGHT, BG, CARD, COND, COND_BOLD, FOOTER, GREYED,
                   INK, MUTED, NOTE_YELLOW, RULE, SANS, SANS_BOLD, SIDEBAR, para_height)

WHITE = "#FFFFFF"
BAND_TEXT = "#CFE3E6"
FOOTER_TOP = 430
SIDEBAR_W = 170
CONTENT_X = 199  # background x of the page title and text


# -- frame ------------------------------------------------------------------
def frame(c, words):
    """Title band with the brand, and the footer strip."""
    c.gradient(0, 0, skin.BG_W, 62, BAND_LIGHT, BAND)
    c.rect(0, 62, skin.BG_W - 1, 65, AMBER)
    c.rect(18, 11, 58, 51, AMBER, radius=9)
    c.text(18, 11, 41, 41, "Q", 28, BAND_DARK, SANS_BOLD, "Center")
    c.rich(68, 8, [("Norvane ", WHITE), ("Quillon", AMBER)], 23)
    c.text(70, 38, 600, 18, words["brand_sub"], 11, BAND_TEXT, SANS)
    c.rect(0, FOOTER_TOP, skin.BG_W - 1, skin.BG_H - 1, FOOTER)
    c.rect(0, FOOTER_TOP, skin.BG_W - 1, FOOTER_TOP, RULE)


def sidebar(c, words, flow, current):
    heading, steps = words["sidebar"][flow]
    c.rect(0, 66, SIDEBAR_W - 1, FOOTER_TOP - 1, SIDEBAR)
    c.rect(SIDEBAR_W - 1, 66, SIDEBAR_W - 1, FOOTER_TOP - 1, RULE)
    c.text(16, 76, SIDEBAR_W - 24, 18, heading, 12, MUTED, COND_BOLD)
    top = 104
    pitch = 36
    c.rect(29, top + 11, 30, top + 11 + pitch * (len(steps) - 1), RULE)
    for i, label in enumerate(steps):
        y = top + pitch * i
        cx, cy = 30, y + 11
        if i < current:
            c.circle(cx, cy, 11, BAND)
            icons.check(c, cx, cy, 5, WHITE, 2)
            c.text(48, y, SIDEBAR_W - 50, 22, label, 12, INK, COND)
        elif i == current:
            c.circle(cx, cy, 12, AMBER)
            c.text(cx - 12, cy - 12, 25, 25, str(i + 1), 12, WHITE, SANS_BOLD, "Center")
            c.text(48, y, SIDEBAR_W - 50, 22, label, 12, BAND_DARK, COND_BOLD)
        else:
            c.circle(cx, cy, 10, SIDEBAR, GREYED, 1.5)
            c.text(cx - 11, cy - 11, 23, 23, str(i + 1), 11, MUTED, SANS, "Center")
            c.text(48, y, SIDEBAR_W - 50, 22, label, 12, MUTED, COND)


def title(c, text, x=CONTENT_X, y=76, w=500):
    c.text(x, y, w, 30, text, 20, BAND, SANS_BOLD)


def intro(c, text, x=CONTENT_X, y=110, w=495, size=12, max_h=None):
    c.para(x, y, w, text, size, INK, SANS, spacing=3, max_h=max_h)


def numbered_steps(c, steps, y, x=CONTENT_X, w=470, gap=9, size=12):
    """Numbered instructions flowing down from y; returns the y below the last one."""
    for i, text in enumerate(steps):
        c.circle(x + 11, y + 10, 11, BAND)
        c.text(x, y - 1, 23, 23, str(i + 1), 12, WHITE, SANS_BOLD, "Center")
        c.para(x + 30, y + 1, w, text, size, INK, SANS, spacing=2)
        y += max(22, para_height(w, text, size, SANS, 2)) + gap
    return y


def checklist(c, items, y, x=CONTENT_X + 2, pitch=28):
    for i, text in enumerate(items):
        top = y + pitch * i
        c.circle(x + 9, top + 10, 9, BG, BAND, 2)
        c.circle(x + 9, top + 10, 3, BAND)
        c.text(x + 28, top, 440, 21, text, 12.5, INK, SANS)


def field_label(c, x, y, text, color=INK, w=skin.LABEL_SIZE[0], h=skin.LABEL_SIZE[1]):
    c.text(x, y, w, h, text, 12.5, color, COND)


def progress_trough(c):
    """Recessed slot that frames the progress bar (assumed about 20 px tall)."""
    left, top = skin.bg(*skin.PROGRESS[:2])
    width = skin.PROGRESS[2]
    c.rect(left - 7, top - 7, left + width + 6, top + 26, SIDEBAR, RULE, 1, radius=8)


def footer_note(c, text):
    c.text(24, FOOTER_TOP + 12, 560, 26, text, 11, MUTED, SANS)


# -- buttons ----------------------------------------------------------------
def footer_button(c, x, y, w, h, text, primary, lit):
    """A Back/Next/Exit style button whose top-left corner is (x, y)."""
    if primary:
        fill, stroke, ink = (AMBER, "#C07F1C", WHITE) if lit else (BAND, BAND_DARK, WHITE)
    else:
        fill, stroke, ink = (BAND, BAND_DARK, WHITE) if lit else (CARD, BAND, BAND)
    c.rect(x + 1, y + 1, x + w - 2, y + h - 2, fill, stroke, 1.5, radius=7)
    c.text(x, y, w, h, text, 13, ink, SANS_BOLD, "Center")


def footer_button_at(c, pos, size, text, primary, lit=False):
    x, y = skin.bg(*pos)
    footer_button(c, x, y, size[0], size[1], text, primary, lit)


def card_button(c, x, y, w, h, icon, heading, sub, lit, primary=False):
    """A main-menu or completion-page button: icon, heading and one line under it."""
    if lit:
        fill, stroke, ink, sub_ink, disc = BAND, BAND_DARK, WHITE, BAND_TEXT, AMBER
    elif primary:
        fill, stroke, ink, sub_ink, disc = AMBER_LIGHT, AMBER, INK, MUTED, BAND
    else:
        fill, stroke, ink, sub_ink, disc = CARD, RULE, INK, MUTED, BAND
    c.rect(x + 1, y + 1, x + w - 2, y + h - 2, fill, stroke, 1.2, radius=8)
    cx, cy = x + 22, y + h // 2
    c.circle(cx, cy, 14, disc)
    icons.draw(c, icon, cx, cy, WHITE)
    top = y + (h - 36) // 2
    c.text(x + 44, top, w - 50, 19, heading, 13, ink, COND_BOLD)
    c.text(x + 44, top + 19, w - 50, 16, sub, 10.5, sub_ink, COND)


def note_box(c, x, y, w, h, heading, text, tone="note"):
    """Rounded box with a heading and a short text (key help, warnings)."""
    if tone == "alert":
        fill, stroke, head_ink = "#FBE7E3", ALERT, ALERT
    else:
        fill, stroke, head_ink = NOTE_YELLOW, "#E5CF8F", BAND_DARK
    c.rect(x + 1, y + 1, x + w - 2, y + h - 2, fill, stroke, 1.2, radius=7)
    if tone == "alert":
        icons.warning(c, x + 24, y + 24, ALERT)
        tx = x + 46
    else:
        c.circle(x + 20, y + 19, 10, BAND)
        c.text(x + 10, y + 9, 21, 21, "i", 13, WHITE, SANS_BOLD, "Center")
        tx = x + 38
    c.text(tx, y + 8, w - tx + x - 10, 20, heading, 12, head_ink, SANS_BOLD)
    c.para(tx, y + 28, w - tx + x - 12, text, 11, INK, SANS, spacing=1, max_h=h - 30)


# -- stand-alone small pictures ------------------------------------------------
def label_picture(c, text, grey):
    field_label(c, 0, 0, text, GREYED if grey else INK)


def notice_picture(c, text, grey):
    ink = GREYED if grey else MUTED
    disc = GREYED if grey else BAND
    c.circle(10, 12, 9, disc)
    c.text(1, 3, 19, 19, "i", 12, WHITE, SANS_BOLD, "Center")
    c.para(28, 1, c.width - 30, text, 11, ink, SANS, spacing=1, max_h=c.height - 1)
