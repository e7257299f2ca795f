#!/usr/bin/env python3
"""Draw the Lumora program icon and write it as res/lumora.ico.

The icon is a small calendar card: a rounded light card with a blue top band,
two dark binding rings standing above the band, and a 3 x 2 grid of day
squares in the body with one square marked red (today).  Each size is laid
out on its own pixel grid so that the 16 x 16 image stays crisp, and every
pixel is antialiased by sampling 4 x 4 points inside it.

The file holds two images, 32 x 32 and 16 x 16, each a 32-bit BGRA DIB with
its 1-bit AND mask.  Only the Python standard library is used.

Usage:  make_icon.py [OUT.ico] [--png PREVIEW.png]
The optional preview is a magnified sheet of both sizes on light and dark
backgrounds, for looking at the result; it is not part of the program.
"""

import os
import struct
import sys
import zlib

BLUE = (0, 153, 227)          # the day window's blue
BLUE_EDGE = (0, 106, 168)     # outline of the band
BODY = (253, 253, 253)        # card body
BODY_EDGE = (118, 128, 140)   # outline of the body
RING = (40, 46, 56)           # binding rings
SQUARE = (0, 153, 227)        # day squares
TODAY = (228, 44, 44)         # the marked day

SUPERSAMPLE = 4

# Per-size layouts in pixel units; a pixel i covers [i, i + 1).  The edges of
# the card, the band and the day squares sit on whole pixels so that only the
# rounded corners and the ring tops are blended.
LAYOUTS = {
    32: {
        "card": (0, 2, 32, 32), "radius": 5.0, "border": 1.0,
        "band_bottom": 11.0,
        "rings": [(7, 0, 11, 8), (21, 0, 25, 8)], "ring_radius": 2.0,
        "cols": [(5, 11), (13, 19), (21, 27)],
        "rows": [(14, 20), (22, 28)],
        "square_radius": 1.0,
        "today": (1, 1),
    },
    16: {
        "card": (0, 1, 16, 16), "radius": 2.5, "border": 1.0,
        "band_bottom": 5.0,
        "rings": [(3, 0, 5, 3.5), (11, 0, 13, 3.5)], "ring_radius": 0.8,
        "cols": [(3, 5), (7, 9), (11, 13)],
        "rows": [(7, 9), (11, 13)],
        "square_radius": 0.0,
        "today": (1, 1),
    },
}


def in_round_rect(x, y, rect, r):
    """True when the point (x, y) lies inside the rectangle with corners
    rounded to radius r."""
    x0, y0, x1, y1 = rect
    if x < x0 or x >= x1 or y < y0 or y >= y1:
        return False
    r = min(r, (x1 - x0) / 2, (y1 - y0) / 2)
    if r <= 0:
        return True
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def color_at(x, y, lay):
    """The colour of the topmost shape at the point (x, y), or None outside
    every shape."""
    for ring in lay["rings"]:
        if in_round_rect(x, y, ring, lay["ring_radius"]):
            return RING
    card = lay["card"]
    if not in_round_rect(x, y, card, lay["radius"]):
        return None
    b = lay["border"]
    inner = (card[0] + b, card[1] + b, card[2] - b, card[3] - b)
    in_band = y < lay["band_bottom"]
    if not in_round_rect(x, y, inner, lay["radius"] - b):
        return BLUE_EDGE if in_band else BODY_EDGE
    if in_band:
        return BLUE
    for ri, (ry0, ry1) in enumerate(lay["rows"]):
        for ci, (cx0, cx1) in enumerate(lay["cols"]):
            if in_round_rect(x, y, (cx0, ry0, cx1, ry1), lay["square_radius"]):
                return TODAY if (ri, ci) == lay["today"] else SQUARE
    return BODY


def render(size):
    """Rows of straight (not premultiplied) RGBA pixels, top row first."""
    lay = LAYOUTS[size]
    n = SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = color_at(px + (sx + 0.5) / n, py + (sy + 0.5) / n, lay)
                    if c is not None:
                        hits += 1
                        for k in range(3):
                            acc[k] += c[k]
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                rgb = tuple((acc[k] + hits // 2) // hits for k in range(3))
                row.append(rgb + ((hits * 255 + n * n // 2) // (n * n),))
        rows.append(row)
    return rows


def dib_image(rows):
    """One icon image: BITMAPINFOHEADER (height doubled for the mask), the
    BGRA pixels bottom-up, then the AND mask bottom-up with rows padded to
    32 bits (a set bit marks a fully transparent pixel)."""
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """An ICO file from (size, dib) pairs."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, dib in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(dib), offset)
        offset += len(dib)
        body += dib
    return out + body


def png_bytes(width, height, rgba_rows):
    """A minimal RGBA PNG (filter 0 on every row)."""
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    raw = bytearray()
    for row in rgba_rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def preview(renders, scale=8, pad=8):
    """A sheet with every size magnified `scale` times (nearest neighbour),
    on a light and on a dark background, followed by each size at 1:1."""
    backgrounds = [(255, 255, 255), (210, 214, 220), (32, 36, 44)]
    sizes = sorted(renders, reverse=True)
    width = pad + sum(s * scale + pad for s in sizes) + sum(s + pad for s in sizes)
    cell_h = max(sizes) * scale + 2 * pad
    height = cell_h * len(backgrounds)
    sheet = []
    for bg in backgrounds:
        band = [[bg + (255,) for _ in range(width)] for _ in range(cell_h)]
        x = pad
        for s, sc in [(s, scale) for s in sizes] + [(s, 1) for s in sizes]:
            img = renders[s]
            for y in range(s * sc):
                for xx in range(s * sc):
                    r, g, b, a = img[y // sc][xx // sc]
                    band[pad + y][x + xx] = tuple(
                        (c * a + bc * (255 - a) + 127) // 255
                        for c, bc in zip((r, g, b), bg)) + (255,)
            x += s * sc + pad
        sheet += band
    return png_bytes(width, height, sheet)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "..", "res", "lumora.ico")
    png = None
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == "--png" and args:
            png = args.pop(0)
        elif a.startswith("-"):
            sys.stderr.write("usage: make_icon.py [OUT.ico] [--png PREVIEW.png]\n")
            return 2
        else:
            out = a
    renders = {size: render(size) for size in (32, 16)}
    data = ico_bytes([(size, dib_image(renders[size])) for size in (32, 16)])
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with open(out, "wb") as f:
        f.write(data)
    if png:
        with open(png, "wb") as f:
            f.write(preview(renders))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
