"""Picture files as the wizard's loader takes them: the extension decides the kind; bitmaps of
1, 4, 8, 24 or 32 bits per pixel, uncompressed (32-bit also with bit fields); JPEGs baseline,
extended or progressive."""

import struct

MAX_SIDE = 16384
BACKGROUND_SIZE = (720, 480)


def picture_size(path):
    """(width, height); raises ValueError with what the wizard would report."""
    data = path.read_bytes()
    suffix = path.suffix.lower()
    if suffix == ".bmp":
        return _bitmap_size(data)
    if suffix in (".jpg", ".jpeg"):
        return _jpeg_size(data)
    raise ValueError(f"the extension {path.suffix!r} is neither .bmp nor .jpg")


def _bitmap_size(data):
    if data[:2] != b"BM" or len(data) < 54:
        raise ValueError("not a bitmap")
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (1, 4, 8, 24, 32):
        raise ValueError(f"a {bits}-bit bitmap, which the wizard cannot show")
    if compression != 0 and not (compression == 3 and bits == 32):
        raise ValueError("a compressed bitmap, which the wizard cannot show")
    offset = struct.unpack_from("<I", data, 10)[0]
    stride = ((width * bits + 31) // 32) * 4
    if not 0 < width <= MAX_SIDE or not 0 < abs(height) <= MAX_SIDE or offset + stride * abs(height) > len(data):
        raise ValueError("a damaged bitmap (its pixels are cut short)")
    return width, abs(height)


def _jpeg_size(data):
    if data[:2] != b"\xff\xd8":
        raise ValueError("not a JPEG")
    i = 2
    while i + 4 <= len(data):
        if data[i] != 0xFF:
            raise ValueError("a damaged JPEG")
        marker = data[i + 1]
        length = struct.unpack_from(">H", data, i + 2)[0]
        if marker in (0xC0, 0xC1, 0xC2):
            height, width = struct.unpack_from(">HH", data, i + 5)
            if not data.rstrip(b"\x00").endswith(b"\xff\xd9"):
                raise ValueError("a damaged JPEG (it ends before its last picture data)")
            return width, height
        if 0xC3 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            raise ValueError("a lossless or arithmetic-coded JPEG, which the wizard cannot show")
        i += 2 + length
    raise ValueError("a JPEG without a frame header")
