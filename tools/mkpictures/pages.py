"""Page backgrounds (720 x 480): the frame, the step list, the page's words,
its drawing, and the normal state of every button that hovers over it."""

import artwork
import icons
import skin
import widgets as w
from paint import BAND, BAND_DARK, BG, COND, INK, MUTED, OK_GREEN, RULE, SANS, SANS_BOLD, Canvas, para_height

# Step list shown at the left of each page: (flow, index of the current step).
FLOW = {
    "power": ("install", 0), "ethernet": ("install", 1), "adsl": ("install", 2), "hwcheck": ("install", 3),
    "isp": ("install", 4), "staticip": ("install", 4), "ppp": ("install", 4),
    "radio": ("install", 5), "wireless": ("install", 5), "remind": ("install", 5),
    "applying": ("install", 6), "complete": ("install", 7), "complete_kit": ("install", 7),
    "unplug": ("adapter", 0), "usbcheck": ("adapter", 1), "driver": ("adapter", 2),
    "wlantest": ("adapter", 3), "wlandone": ("adapter", 4),
}

NAV_PAGES = {"power", "ethernet", "adsl", "isp", "staticip", "ppp", "radio", "wireless", "remind", "unplug",
             "usbcheck"}


def _nav_buttons(c, words):
    for role in ("back", "next", "exit"):
        w.footer_button_at(c, skin.NAV_POS[role], skin.NAV_SIZE[role], words["nav"][role], role == "next")


def _help_page(c, text, scene):
    w.title(c, text["title"])
    steps = text["steps"]
    y = w.numbered_steps(c, steps, 110, gap=9 if len(steps) < 4 else 6, size=11.5)
    # The cabling scene starts at y 282.
    c.para(w.CONTENT_X, y + 2, 495, text["note"], 11.5, BAND_DARK, SANS_BOLD, max_h=280 - y)
    artwork.cabling(c, scene)


def _progress_page(c, text, words):
    w.title(c, text["title"])
    w.intro(c, text["text"], max_h=84)
    w.checklist(c, text["checklist"], 198)
    w.progress_trough(c)
    w.footer_note(c, words["wait_note"])


def _form_labels(c, labels, rows):
    for label, row in zip(labels, rows):
        x, y = skin.bg(skin.LABEL_X, row)
        w.field_label(c, x, y, label)


def _hint(c, text, y):
    c.para(w.CONTENT_X, y, 480, text, 11, MUTED, SANS, max_h=424 - y)


def _isp(c, text):
    w.title(c, text["title"])
    w.intro(c, text["text"], size=11, max_h=skin.ISP_ROWS["Country"] - 115)
    c.rect(w.CONTENT_X, 228, 690, 228, RULE)


def _staticip(c, text):
    w.title(c, text["title"])
    w.intro(c, text["text"], max_h=skin.STATIC_ROWS[0] - 115)
    _form_labels(c, text["labels"], skin.STATIC_ROWS)
    _hint(c, text["hint"], skin.bg(0, skin.STATIC_ROWS[-1])[1] + 40)


def _ppp(c, text):
    w.title(c, text["title"])
    w.intro(c, text["text"], max_h=skin.PPP_ROWS[0] - 115)
    _form_labels(c, text["labels"], skin.PPP_ROWS)
    _hint(c, text["hint"], skin.bg(0, skin.PPP_ROWS[-1])[1] + 40)


def _radio(c, text):
    w.title(c, text["title"])
    w.intro(c, text["text"], max_h=skin.RADIO_ROW - 115)
    _form_labels(c, [text["label"]], [skin.RADIO_ROW])
    _hint(c, text["hint"], skin.bg(0, skin.RADIO_ROW)[1] + 40)


def _wireless(c, text):
    w.title(c, text["title"])
    w.intro(c, text["text"], size=11.5, max_h=skin.WIRELESS_ROWS["SSID"] - 115)
    rows = skin.WIRELESS_ROWS
    _form_labels(c, [text["labels"][k] for k in rows], list(rows.values()))


def _remind(c, text):
    w.title(c, text["title"])
    w.intro(c, text["text"], size=11.5, max_h=42)
    c.rect(194, 154, 700, 368, BG, RULE, 1.2, radius=10)
    c.text(206, 159, 400, 20, text["ssid_heading"], 12.5, BAND, SANS_BOLD)


def _done_badge(c, x, y):
    c.circle(x, y, 36, "#E3F1E1")
    c.circle(x, y, 28, OK_GREEN)
    icons.check(c, x, y, 13, "#FFFFFF", 5)


def _complete(c, text, words, kit):
    w.title(c, text["title"])
    c.para(w.CONTENT_X, 114, 380, text["text"], 14, INK, SANS_BOLD, max_h=52)
    c.para(w.CONTENT_X, 170, 400, text["text2"], 12, INK, SANS, spacing=3, max_h=130)
    _done_badge(c, 640, 130)
    left = skin.bg(*skin.BIG_BUTTON_LEFT)
    right = skin.bg(*skin.BIG_BUTTON_RIGHT)
    bw, bh = skin.BIG_BUTTON_SIZE
    big = words["big"]
    if kit:
        w.card_button(c, *left, bw, bh, "usb", *big["usb"], lit=False, primary=True)
        w.card_button(c, *right, bw, bh, "surf", *big["surf"], lit=False)
    else:
        w.card_button(c, *left, bw, bh, "surf", *big["surf"], lit=False, primary=True)
    w.footer_button_at(c, skin.CLOSE_POS, skin.NAV_SIZE["next"], words["finish"], True)


def _wlandone(c, text, words):
    w.title(c, text["title"])
    c.para(w.CONTENT_X, 114, 380, text["text"], 13, INK, SANS, spacing=3, max_h=300)
    _done_badge(c, 640, 130)
    w.footer_button_at(c, skin.CLOSE_POS, skin.NAV_SIZE["next"], words["finish"], True)


def _mainmenu(c, words, kit):
    menu = words["menu"]
    c.text(22, 76, 350, 30, menu["welcome"], 20, BAND, SANS_BOLD)
    c.para(24, 112, 340, menu["kit_text" if kit else "text"], 12, INK, SANS, spacing=3, max_h=84)
    artwork.router_front(c, 44, 196)
    tip_h = para_height(340, menu["tip"], 11, SANS, 2)
    c.para(24, 422 - tip_h, 340, menu["tip"], 11, MUTED, SANS, max_h=52)
    bw, bh = skin.MENU_SIZE
    items = ["IMG_QuickInstallBT", "IMG_ViewQIGBT", "IMG_ViewManualBT", "IMG_AcrobatBT", "IMG_TechnicalSupportBT"]
    if kit:
        items += ["IMG_ViewKXManualBT", "IMG_InstallKXU"]
    for key in items:
        item = MENU_ITEMS[key]
        x, y = skin.bg(*skin.menu_pos(key))
        w.card_button(c, x, y, bw, bh, item, *menu[item], lit=False, primary=item == "quick")
    lx, ly = skin.bg(*skin.LANG_COMBO[:2])
    c.text(24, ly - 2, lx - 30, 26, words["language"], 12, INK, COND)
    w.footer_button_at(c, skin.CLOSE_POS, skin.NAV_SIZE["exit"], words["close"], False)


MENU_ITEMS = {
    "IMG_QuickInstallBT": "quick", "IMG_ViewQIGBT": "guide", "IMG_ViewManualBT": "manual",
    "IMG_AcrobatBT": "reader", "IMG_TechnicalSupportBT": "support", "IMG_ViewKXManualBT": "kxmanual",
    "IMG_ViewKXQIGBT": "kxguide", "IMG_InstallKXU": "kxinstall",
}

HELP_SCENES = {"power": "power", "ethernet": "ethernet", "adsl": "adsl", "unplug": "unplug", "usbcheck": "usb"}


def paint(page, words, path):
    c = Canvas(skin.BG_W, skin.BG_H)
    w.frame(c, words)
    if page in FLOW:
        w.sidebar(c, words, *FLOW[page])
    if page in NAV_PAGES:
        _nav_buttons(c, words)
    text = words["pages"].get(page.replace("_kit", ""), {})
    if page in ("mainmenu", "mainmenu_kit"):
        _mainmenu(c, words, page == "mainmenu_kit")
    elif page in HELP_SCENES:
        _help_page(c, text, HELP_SCENES[page])
    elif page in ("hwcheck", "applying", "driver", "wlantest"):
        _progress_page(c, text, words)
    elif page in ("complete", "complete_kit"):
        _complete(c, words["pages"][page], words, page == "complete_kit")
    elif page == "wlandone":
        _wlandone(c, text, words)
    else:
        {"isp": _isp, "staticip": _staticip, "ppp": _ppp, "radio": _radio, "wireless": _wireless,
         "remind": _remind}[page](c, text)
    c.save(path, "jpg")
