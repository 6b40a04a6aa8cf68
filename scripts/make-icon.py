#!/usr/bin/env python3
"""Draws the program icon: a blue hexagon with a light rim and a white "H",
at 16x16 and 32x32 pixels, 32-bit with alpha, into src/resources/Hexwarden.ico.
Deterministic: the same file on every run. Usage: scripts/make-icon.py [out]"""
import math
import os
import struct
import sys

SUPERSAMPLE = 4  # sub-pixels per pixel side, for smooth edges


def hexagon_distance(x, y):
    """How far (x, y), centred at 0 with the corners at radius 1, lies inside
    a hexagon with flat top and bottom edges: positive inside, negative outside."""
    worst = 1.0
    for k in range(6):
        angle = math.pi / 6 + k * math.pi / 3
        # Each edge's inward normal; the apothem is cos(30 degrees).
        inside = math.cos(math.pi / 6) - (x * math.cos(angle) + y * math.sin(angle))
        worst = min(worst, inside)
    return worst


def in_letter(x, y):
    """The "H": two posts and a bar, in the same centred coordinates."""
    post = 0.14
    half_height = 0.48
    if abs(y) > half_height:
        return False
    if abs(x + 0.30) < post / 2 + 0.04 or abs(x - 0.30) < post / 2 + 0.04:
        return True
    return abs(y) < 0.09 and abs(x) < 0.30


def colour_at(x, y):
    """Premultiplication-free RGBA of one sub-pixel."""
    d = hexagon_distance(x, y)
    if d < 0:
        return (0, 0, 0, 0)
    if d < 0.10:
        return (200, 220, 240, 255)  # rim
    if in_letter(x, y):
        return (255, 255, 255, 255)
    shade = (y + 1) / 2  # darker towards the bottom
    return (int(40 + 30 * (1 - shade)), int(90 + 50 * (1 - shade)), int(170 + 50 * (1 - shade)), 255)


def render(size):
    """Rows of (r, g, b, a) pixels, top row first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = ((px + (sx + 0.5) / SUPERSAMPLE) / size) * 2 - 1
                    y = ((py + (sy + 0.5) / SUPERSAMPLE) / size) * 2 - 1
                    r, g, b, a = colour_at(x * 1.04, y * 1.04)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            n = SUPERSAMPLE * SUPERSAMPLE
            alpha = total[3] // n
            if total[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(c // total[3] for c in total[:3]) + (alpha,))
        rows.append(row)
    return rows


def dib(size):
    """One icon image: BITMAPINFOHEADER, BGRA pixels bottom-up, AND mask."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(
        bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "src", "resources", "Hexwarden.ico")
    sizes = (32, 16)
    images = [dib(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
