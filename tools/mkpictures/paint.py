"""A thin picture builder over ImageMagick's convert.

Every picture is one convert command: a canvas, then drawing primitives and
text boxes composited on top, then one output file. Keeping each picture to a
single process call keeps the output byte-for-byte reproducible.
"""

import functools
import subprocess

CONVERT = "/usr/bin/convert"

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
SANS = FONT_DIR + "DejaVuSans.ttf"
SANS_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"
COND = FONT_DIR + "DejaVuSansCondensed.ttf"
COND_BOLD = FONT_DIR + "DejaVuSansCondensed-Bold.ttf"
MONO = FONT_DIR + "DejaVuSansMono.ttf"

# The theme. BG is the main window's own colour, so label pictures and the
# places where native controls sit blend with the window behind them.
BG = "#FFFBF0"
BAND = "#1D5C68"
BAND_LIGHT = "#277483"
BAND_DARK = "#143F48"
AMBER = "#E39B2D"
AMBER_LIGHT = "#FCEBCB"
INK = "#2B2B2B"
MUTED = "#6F6A60"
GREYED = "#B9B2A4"
SIDEBAR = "#F4ECDA"
FOOTER = "#F2E9D6"
RULE = "#D9CDB4"
CARD = "#FFFFFF"
OK_GREEN = "#3A9B48"
LED_OFF = "#C9C3B6"
ALERT = "#B5322A"
NOTE_YELLOW = "#FFF4D0"


def im_text(text):
    """Protects a text from ImageMagick's percent and backslash escapes."""
    return text.replace("%", "%%")


@functools.lru_cache(maxsize=None)
def para_height(width, text, size, font=SANS, spacing=2):
    """Height in pixels of a paragraph as Canvas.para would paint it."""
    result = subprocess.run(
        [CONVERT, "-background", "none", "-size", f"{width}x", "-font", font, "-pointsize", f"{size:g}",
         "-interline-spacing", f"{spacing:g}", "caption:" + im_text(text), "-format", "%h", "info:"],
        capture_output=True, text=True, check=True)
    return int(result.stdout)


@functools.lru_cache(maxsize=None)
def text_size(text, size, font=SANS):
    """(width, height) in pixels of one line of text."""
    result = subprocess.run(
        [CONVERT, "-background", "none", "-font", font, "-pointsize", f"{size:g}", "label:" + im_text(text),
         "-format", "%w %h", "info:"],
        capture_output=True, text=True, check=True)
    width, height = result.stdout.split()
    return int(width), int(height)


class Overflow(ValueError):
    """A text does not fit the box it was given; shorten the words."""


class Canvas:
    def __init__(self, width, height, color=BG):
        self.width = width
        self.height = height
        self.ops = ["-respect-parentheses", "-size", f"{width}x{height}", f"xc:{color}"]

    # -- shapes ---------------------------------------------------------
    def _draw(self, primitive, fill="none", stroke="none", width=1.0):
        self.ops += ["-fill", fill, "-stroke", stroke, "-strokewidth", f"{width:g}", "-draw", primitive]

    def rect(self, x0, y0, x1, y1, fill, stroke="none", width=1.0, radius=0):
        if radius:
            prim = f"roundrectangle {x0},{y0} {x1},{y1} {radius},{radius}"
        else:
            prim = f"rectangle {x0},{y0} {x1},{y1}"
        self._draw(prim, fill, stroke, width)

    def circle(self, cx, cy, r, fill, stroke="none", width=1.0):
        self._draw(f"circle {cx},{cy} {cx + r},{cy}", fill, stroke, width)

    def ellipse(self, cx, cy, rx, ry, fill, stroke="none", width=1.0, start=0, end=360):
        self._draw(f"ellipse {cx},{cy} {rx},{ry} {start},{end}", fill, stroke, width)

    def polyline(self, points, stroke, width=2.0, dash=None):
        pts = " ".join(f"{x},{y}" for x, y in points)
        prim = "stroke-linejoin round stroke-linecap round "
        if dash:
            prim += "stroke-dasharray " + " ".join(str(d) for d in dash) + " "
        self._draw(prim + "polyline " + pts, "none", stroke, width)

    def polygon(self, points, fill, stroke="none", width=1.0):
        pts = " ".join(f"{x},{y}" for x, y in points)
        self._draw("stroke-linejoin round polygon " + pts, fill, stroke, width)

    def path(self, d, fill="none", stroke="none", width=1.0):
        self._draw(f"stroke-linejoin round stroke-linecap round path '{d}'", fill, stroke, width)

    def gradient(self, x, y, w, h, top, bottom):
        self.ops += ["(", "-size", f"{w}x{h}", f"gradient:{top}-{bottom}", ")"]
        self._place(x, y)

    # -- text -----------------------------------------------------------
    def _place(self, x, y):
        self.ops += ["-gravity", "NorthWest", "-geometry", f"+{x}+{y}", "-composite"]

    def text(self, x, y, w, h, text, size, color=INK, font=SANS, align="West"):
        """One line of text in the box (x, y, w, h), aligned by gravity."""
        width, _ = text_size(text, size, font)
        if width > w:
            raise Overflow(f"{text!r} is {width} px wide, the box {w} px")
        self.ops += [
            "(", "-size", f"{w}x{h}", "xc:none", "-font", font, "-pointsize", f"{size:g}",
            "-fill", color, "-stroke", "none", "-gravity", align, "-annotate", "+0+0", im_text(text), ")",
        ]
        self._place(x, y)

    def para(self, x, y, w, text, size, color=INK, font=SANS, spacing=2, align="West", max_h=None):
        """A paragraph wrapped to width w; its height follows the text.

        max_h, when given, is the height the paragraph must stay within."""
        if max_h is not None and para_height(w, text, size, font, spacing) > max_h:
            raise Overflow(f"{text[:40]!r}... needs more than {max_h} px")
        self.ops += [
            "(", "-background", "none", "-size", f"{w}x", "-font", font, "-pointsize", f"{size:g}",
            "-fill", color, "-stroke", "none", "-interline-spacing", f"{spacing:g}",
            "-gravity", align, "caption:" + im_text(text), ")",
        ]
        self._place(x, y)

    def rich(self, x, y, parts, size, font=SANS_BOLD):
        """Several coloured runs of text on one line, e.g. a two-colour logo."""
        self.ops += ["(", "+size", "-background", "none", "-font", font, "-pointsize", f"{size:g}", "-stroke", "none"]
        for text, color in parts:
            self.ops += ["-fill", color, "label:" + im_text(text)]
        self.ops += ["+append", "+repage", ")"]
        self._place(x, y)

    def image(self, path, x, y, w, h):
        """Another picture file, scaled to w x h."""
        self.ops += ["(", "+size", path, "-resize", f"{w}x{h}!", ")"]
        self._place(x, y)

    # -- output ---------------------------------------------------------
    def save(self, path, kind):
        out = ["-strip", "-alpha", "off"]
        if kind == "bmp":
            out += ["-type", "TrueColor", "BMP3:" + path]
        elif kind == "jpg":
            out += ["-quality", "85", "-sampling-factor", "2x2,1x1,1x1", "-interlace", "none", "JPEG:" + path]
        elif kind == "jpg444":
            out += ["-quality", "85", "-sampling-factor", "1x1,1x1,1x1", "-interlace", "none", "JPEG:" + path]
        elif kind == "doc":
            out += ["-quality", "72", "-sampling-factor", "2x2,1x1,1x1", "-interlace", "none", "JPEG:" + path]
        else:
            raise ValueError(kind)
        subprocess.run([CONVERT] + self.ops + out, check=True)
