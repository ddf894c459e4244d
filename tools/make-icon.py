#!/usr/bin/env python3
"""Draws the program's icon, a gold coin with a yen sign, as a 16-colour .ico file.

Usage: make-icon.py OUTPUT.ico

Three images, 16x16, 32x32 and 48x48, each 4 bits per pixel in the standard 16-colour VGA
palette with a 1-bit AND mask (transparent outside the coin), so that every version of Windows
and every colour depth shows the same picture. Standard library only: the build needs nothing
beyond python3.
"""

import struct
import sys

# The 16-colour palette every Windows display knows, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, OLIVE, YELLOW, WHITE = 0, 1, 3, 11, 15

SIZES = (16, 32, 48)

# The yen sign in a unit square (y down): two arms meeting above the middle, a stem, two bars.
YEN_STROKES = [
    ((0.30, 0.24), (0.50, 0.50)),
    ((0.70, 0.24), (0.50, 0.50)),
    ((0.50, 0.50), (0.50, 0.80)),
    ((0.33, 0.54), (0.67, 0.54)),
    ((0.33, 0.67), (0.67, 0.67)),
]


def distance_to_segment(px, py, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    cx, cy = ax + t * dx, ay + t * dy
    return ((px - cx) ** 2 + (py - cy) ** 2) ** 0.5


def draw(size):
    """Returns rows (top first) of palette indices, None where the icon is transparent."""
    radius = 0.5 - 0.5 / size  # the disc touches the edge pixels' centres
    rim = max(1.0, size / 16.0) / size
    # Thin strokes vanish at 16x16 unless they cover at least a pixel and a bit.
    stroke = max(1.3 / size, 0.085) / 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            px, py = (x + 0.5) / size, (y + 0.5) / size
            r = ((px - 0.5) ** 2 + (py - 0.5) ** 2) ** 0.5
            if r > radius:
                row.append(None)
            elif r > radius - rim:
                row.append(OLIVE)
            elif any(distance_to_segment(px, py, a, b) <= stroke for a, b in YEN_STROKES):
                row.append(MAROON)
            elif size >= 32 and px + py < 0.62 and r < radius - 2 * rim:
                row.append(WHITE)  # a glint, where there is room for one
            else:
                row.append(YELLOW)
        rows.append(row)
    return rows


def image(size):
    """One icon image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask, rows bottom up."""
    rows = draw(size)
    xor_stride = (size * 4 + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, colour in enumerate(row):
            if colour is None:
                colour = BLACK
                bits[x // 8] |= 0x80 >> (x % 8)
            line[x // 2] |= colour << (4 if x % 2 == 0 else 0)
        xor += line
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask),
                         0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def icon_file():
    images = [image(size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-icon.py OUTPUT.ico")
    with open(sys.argv[1], "wb") as f:
        f.write(icon_file())


if __name__ == "__main__":
    main()
