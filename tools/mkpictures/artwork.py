"""Drawings of the hardware: the router's back panel with its cables, the
front lights, the laptop, the splitter, and the router seen from the front.

The cabling scene occupies the lower part of the help pages (background
y 276..424, x 196..712). Each help page draws the same scene and lights up
the cable it is about; cables already done are drawn faded.
"""

import math

from paint import AMBER, AMBER_LIGHT, BAND, COND, COND_BOLD, INK, MUTED, OK_GREEN, LED_OFF, ALERT, SANS_BOLD

BODY = "#E7E1D5"
BODY_EDGE = "#8F8777"
PORT = "#3A3A3A"
PLASTIC = "#F7F3EA"
FADED = "#D3CAB8"
ETHERNET = "#E4B21C"
DSL_GREY = "#5F6B72"
POWER_BLACK = "#2E2E2E"

PORT_X = {"DSL": 375, "LAN1": 418, "LAN2": 446, "LAN3": 474, "LAN4": 502, "POWER": 542, "ONOFF": 572}
PORT_Y = 329

ROUTES = {
    "power": [[(542, 337), (542, 402), (592, 402)], [(628, 402), (666, 402)]],
    "ethernet": [[(418, 329), (418, 288), (612, 288), (612, 335), (627, 335)]],
    "dsl": [[(312, 400), (375, 400), (375, 336)], [(236, 400), (252, 400)], [(282, 388), (282, 373)]],
}


def _cable(c, route, color, state):
    if state == "active":
        c.polyline(route, AMBER_LIGHT, 13)
        c.polyline(route, color, 5)
    elif state == "done":
        c.polyline(route, FADED, 4)


def _led_panel(c, lit, focus):
    c.rect(200, 282, 320, 326, PLASTIC, BODY_EDGE, 1.2, radius=7)
    for i, name in enumerate(("POWER", "DSL", "LAN")):
        x = 222 + 38 * i
        if name == focus:
            c.circle(x, 297, 10, AMBER_LIGHT)
        c.circle(x, 297, 5, OK_GREEN if name in lit else LED_OFF, "#6B6B6B", 0.8)
        c.text(x - 19, 306, 39, 14, name, 8, INK, COND_BOLD, "Center")


def _router_back(c):
    c.rect(350, 300, 590, 350, BODY, BODY_EDGE, 1.5, radius=8)
    labels = {"DSL": "DSL", "LAN1": "1", "LAN2": "2", "LAN3": "3", "LAN4": "4", "POWER": "POWER"}
    for port, x in PORT_X.items():
        if port not in labels:
            continue
        c.text(x - 20, 303, 41, 13, labels[port], 7.5, INK, COND_BOLD, "Center")
    c.rect(366, 322, 384, 336, PORT)
    for port in ("LAN1", "LAN2", "LAN3", "LAN4"):
        x = PORT_X[port]
        c.rect(x - 10, 319, x + 10, 339, PORT)
        c.rect(x - 4, 335, x + 4, 339, "#777777")
    c.circle(PORT_X["POWER"], PORT_Y, 8, PORT)
    c.circle(PORT_X["POWER"], PORT_Y, 2.5, "#BBBBBB")
    c.rect(565, 318, 579, 340, "#5A5A5A", radius=3)
    c.rect(568, 321, 576, 329, "#8A8A8A", radius=2)
    c.text(420, 351, 110, 13, "LAN", 8, MUTED, COND_BOLD, "Center")
    c.text(547, 351, 50, 13, "ON/OFF", 8, MUTED, COND_BOLD, "Center")


def _laptop(c):
    c.rect(632, 284, 704, 330, "#3F4448", radius=4)
    c.rect(637, 289, 699, 325, "#BFD9DE")
    c.polygon([(622, 330), (712, 330), (706, 341), (628, 341)], "#C8C4BC", "#7C776E", 1)


def _power_parts(c):
    c.rect(592, 391, 628, 413, POWER_BLACK, radius=3)
    c.rect(666, 382, 704, 420, PLASTIC, BODY_EDGE, 1.2, radius=6)
    c.circle(679, 401, 3, PORT)
    c.circle(691, 401, 3, PORT)


def _dsl_parts(c):
    c.rect(200, 380, 236, 416, PLASTIC, BODY_EDGE, 1.2, radius=5)
    c.rect(210, 395, 226, 404, PORT)
    c.text(200, 381, 37, 12, "TEL", 7, MUTED, COND_BOLD, "Center")
    c.rect(252, 388, 312, 412, "#FFFFFF", BODY_EDGE, 1.2, radius=4)
    c.text(252, 393, 61, 14, "SPLITTER", 7.5, INK, COND_BOLD, "Center")
    # A desk telephone: body, keypad and the handset resting on top.
    c.polygon([(258, 372), (306, 372), (300, 350), (264, 350)], "#6E7B83", "#48545B", 1)
    c.rect(256, 340, 308, 349, "#48545B", radius=4)
    for row in range(2):
        for col in range(3):
            c.rect(272 + 8 * col, 355 + 7 * row, 276 + 8 * col, 359 + 7 * row, "#D9DEE0")


def _arc(cx, cy, r, start, end, steps=12):
    """Points of a circular arc; angles in degrees, clockwise from east."""
    out = []
    for i in range(steps + 1):
        a = math.radians(start + (end - start) * i / steps)
        out.append((round(cx + r * math.cos(a), 1), round(cy + r * math.sin(a), 1)))
    return out


def cabling(c, mode):
    """mode: power, ethernet, adsl, unplug or usb."""
    lit = {"power": {"POWER"}, "ethernet": {"POWER", "LAN"}, "adsl": {"POWER", "LAN", "DSL"},
           "unplug": {"POWER", "DSL"}, "usb": {"POWER", "DSL"}}[mode]
    focus = {"power": "POWER", "ethernet": "LAN", "adsl": "DSL", "unplug": "LAN", "usb": None}[mode]
    _led_panel(c, lit, focus)
    if mode in ("adsl", "unplug", "usb"):
        _dsl_parts(c)
    state = {"power": "active"}.get(mode, "done")
    for route in ROUTES["power"]:
        _cable(c, route, POWER_BLACK, state)
    if mode == "adsl":
        for route in ROUTES["dsl"]:
            _cable(c, route, DSL_GREY, "active")
    elif mode in ("unplug", "usb"):
        for route in ROUTES["dsl"]:
            _cable(c, route, DSL_GREY, "done")
    if mode in ("ethernet", "adsl"):
        _cable(c, ROUTES["ethernet"][0], ETHERNET, "active" if mode == "ethernet" else "done")
    if mode == "unplug":
        _cable(c, [(418, 329), (418, 288), (612, 288), (612, 312)], ETHERNET, "active")
    _router_back(c)
    _power_parts(c)
    _laptop(c)
    if mode == "unplug":
        c.rect(607, 312, 617, 324, ETHERNET, "#A07C10", 1)
        c.circle(626, 356, 11, ALERT)
        c.polyline([(621, 351), (631, 361)], "#FFFFFF", 2.5)
        c.polyline([(631, 351), (621, 361)], "#FFFFFF", 2.5)
    if mode == "usb":
        c.ellipse(614, 335, 17, 13, AMBER_LIGHT)
        c.rect(605, 331, 622, 339, BAND, "#143F48", 1, radius=2)
        c.rect(622, 332, 626, 338, "#9A9A9A")
        for r in (8, 14, 20):
            c.polyline(_arc(613, 328, r, 230, 310), BAND, 2.4)


def router_front(c, x, y):
    """The router as it stands on a desk, for the main menu (about 300 x 170)."""
    c.ellipse(x + 150, y + 160, 150, 10, "#EDE3CF")
    c.polyline([(x + 40, y + 80), (x + 28, y + 4)], "#4A4A4A", 7)
    c.polyline([(x + 260, y + 80), (x + 272, y + 4)], "#4A4A4A", 7)
    c.polygon([(x + 14, y + 86), (x + 286, y + 86), (x + 300, y + 104), (x, y + 104)], "#F3EFE7", BODY_EDGE, 1.2)
    c.rect(x, y + 104, x + 300, y + 156, BODY, BODY_EDGE, 1.2, radius=6)
    c.rect(x + 2, y + 104, x + 298, y + 110, BAND)
    c.text(x + 14, y + 116, 150, 16, "Norvane Quillon", 10, BAND, SANS_BOLD)
    names = ("POWER", "DSL", "INTERNET", "WLAN", "LAN")
    for i, name in enumerate(names):
        lx = x + 150 + 30 * i
        c.circle(lx, y + 124, 4, OK_GREEN if i != 2 else AMBER, "#5F5F5F", 0.8)
        c.text(lx - 15, y + 132, 31, 12, name, 6.5, INK, COND, "Center")
    c.text(x + 14, y + 136, 120, 14, "QR-5120G", 8.5, MUTED, COND_BOLD)
