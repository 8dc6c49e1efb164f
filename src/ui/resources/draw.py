#!/usr/bin/python3
"""Draws Corvane's icons and bitmaps as PNG files beside this script.

Run with Debian's /usr/bin/python3 (standard library only): ./draw.py
Icons are 16 x 16 with transparency; the tree strips 144 and 146 use pure green as their
mask colour, as the program expects.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
GREEN = (0, 255, 0, 255)


def write_png(path, width, height, pixels):
    rows = b"".join(b"\0" + bytes(c for p in pixels[y * width:(y + 1) * width] for c in p)
                    for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# Shapes: functions of a point giving whether it lies inside.
def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, w):
    return lambda x, y: (r - w) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def line(ax, ay, bx, by, w):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= (w / 2) ** 2
    return inside


def polygon(*points):
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            (x1, y1), (x2, y2) = points[i], points[(i + 1) % n]
            if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
                result = not result
        return result
    return inside


def render(width, height, layers, background=(0, 0, 0, 0), samples=4, ox=0, oy=0, pixels=None,
           stride=None):
    """layers: (shape, rgba) painted in order; ox, oy place the drawing in a wider strip."""
    stride = stride or width
    if pixels is None:
        pixels = [background] * (width * height)
    for py in range(height):
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = px + (sx + 0.5) / samples
                    y = py + (sy + 0.5) / samples
                    colour = background
                    for shape, rgba in layers:
                        if shape(x, y):
                            colour = rgba
                    a = colour[3] / 255.0
                    acc[0] += colour[0] * a
                    acc[1] += colour[1] * a
                    acc[2] += colour[2] * a
                    acc[3] += a
            n = samples * samples
            alpha = acc[3] / n
            if alpha > 0:
                rgb = tuple(int(round(c / acc[3])) for c in acc[:3])
            else:
                rgb = (0, 0, 0)
            pixels[(py + oy) * stride + px + ox] = rgb + (int(round(alpha * 255)),)
    return pixels


def ink(hex_rgb):
    return (int(hex_rgb[0:2], 16), int(hex_rgb[2:4], 16), int(hex_rgb[4:6], 16), 255)


WHITE, DARK, GREY = ink("ffffff"), ink("303840"), ink("808080")
BLUE, RED, AMBER, LEAF, TEAL = ink("2f6fbf"), ink("c8302c"), ink("e0a020"), ink("2e9e48"), ink("1f8a8a")


def bell(colour):
    return [(polygon((8, 2), (12, 6), (12.5, 11), (14, 12.5), (2, 12.5), (3.5, 11), (4, 6)), colour),
            (circle(8, 2.5, 1.4), colour), (circle(8, 13.6, 1.6), colour)]


def matrix_box(colour):
    layers = [(rounded(1.5, 2.5, 14.5, 13.5, 2), colour), (rounded(3, 4, 13, 12, 1), WHITE)]
    for gx in (5, 8, 11):
        for gy in (6, 10):
            layers.append((circle(gx, gy, 1.1), colour))
    return layers


def letter_a(colour):
    return [(line(4, 13, 8, 3, 2), colour), (line(12, 13, 8, 3, 2), colour), (line(5.5, 9.5, 10.5, 9.5, 1.6), colour)]


ICONS = {
    104: [(rounded(1, 1, 15, 15, 3), TEAL)] + letter_a(WHITE),
    105: [(rounded(1, 4, 6, 12, 1), BLUE), (rounded(10, 4, 15, 12, 1), BLUE), (line(6, 8, 9, 8, 1.6), DARK),
          (polygon((8, 5.5), (10.5, 8), (8, 10.5)), DARK)],
    106: [(rect(1, 4, 4, 12), DARK), (rect(12, 4, 15, 12), DARK), (line(4, 6, 12, 6, 1.5), LEAF),
          (line(4, 10, 12, 10, 1.5), LEAF)],
    107: matrix_box(BLUE),
    108: [(polygon((8, 1.5), (15, 14), (1, 14)), AMBER), (rect(7.2, 5.5, 8.8, 10.5), DARK), (circle(8, 12, 0.9), DARK)],
    109: bell(GREY) + [(rect(0.5, 14.8, 15.5, 16), DARK)],
    110: bell(RED),
    111: [(rect(2, 9, 5, 14), BLUE), (rect(6.5, 5, 9.5, 14), LEAF), (rect(11, 2, 14, 14), AMBER), (rect(1, 14, 15, 15), DARK)],
    112: [(line(4, 4, 12, 5, 1.4), DARK), (line(4, 4, 7, 12, 1.4), DARK), (line(12, 5, 7, 12, 1.4), DARK),
          (circle(4, 4, 2.5), BLUE), (circle(12, 5, 2.5), BLUE), (circle(7, 12, 2.5), BLUE)],
    113: [(circle(8, 8, 7), RED), (line(5, 5, 11, 11, 2), WHITE), (line(11, 5, 5, 11, 2), WHITE)],
    114: [(circle(8, 8, 7), LEAF), (line(4.5, 8.5, 7, 11, 2), WHITE), (line(7, 11, 11.5, 5, 2), WHITE)],
    115: [(circle(8, 8, 7), GREY), (circle(8, 8, 2.5), WHITE)],
    116: [(circle(8, 8, 7), AMBER), (rect(5, 4.5, 7, 11.5), WHITE), (rect(9, 4.5, 11, 11.5), WHITE)],
    117: [(circle(8, 8, 7), BLUE), (polygon((6, 4.5), (12, 8), (6, 11.5)), WHITE)],
}

# The tree strips, by image index: 0 trunk conflicts, 1 intercoms, 2 alphas, 3 requests,
# 4 trunks, 5 alarms with unseen alarms, 6 alarms, 7 Quillex and intercom, 8 graphical usage,
# 9 function type, 10 saved layout.
TREE = [ICONS[108], [(polygon((1, 4), (6, 4), (7.5, 5.5), (15, 5.5), (15, 13.5), (1, 13.5)), AMBER)],
        ICONS[104], ICONS[105], ICONS[106], bell(RED), bell(GREY), matrix_box(DARK), ICONS[112],
        [(rect(3, 3, 13, 5), TEAL), (rect(3, 7, 13, 9), TEAL), (rect(3, 11, 13, 13), TEAL)],
        [(polygon((3, 1), (10, 1), (13, 4), (13, 15), (3, 15)), DARK), (polygon((4, 2), (9.5, 2), (12, 4.5), (12, 14), (4, 14)), WHITE),
         (circle(6, 6, 1.3), BLUE), (circle(10, 9, 1.3), BLUE), (circle(6.5, 12, 1.3), BLUE)]]

FONT = {  # 5 x 7 glyphs
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    " ": ["00000"] * 7,
}


def text_layers(text, x, y, cell, colour):
    layers = []
    for i, ch in enumerate(text):
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    gx = x + (i * 6 + col) * cell
                    gy = y + row * cell
                    layers.append((rect(gx, gy, gx + cell, gy + cell), colour))
    return layers


def splash():
    w, h = 400, 240
    layers = [(rect(0, 0, w, h), ink("1d2b3a")), (rect(0, 168, w, 240), ink("24384c"))]
    nodes = [(70, 80), (150, 50), (250, 70), (330, 110), (200, 130), (110, 140)]
    for a, b in [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (5, 0), (1, 4), (2, 4)]:
        layers.append((line(*nodes[a], *nodes[b], 3), ink("4f7fae")))
    for cx, cy in nodes:
        layers += [(circle(cx, cy, 12), ink("e0a020")), (circle(cx, cy, 6), ink("1d2b3a"))]
    layers += text_layers("CORVANE", 95, 180, 5, WHITE)
    layers += text_layers("TRUNK SUPERVISION", 98, 222, 2, ink("a8c0d8"))
    return w, h, render(w, h, layers, samples=2)


def main():
    for number, layers in ICONS.items():
        write_png(os.path.join(HERE, f"icon{number}.png"), 16, 16, render(16, 16, layers))
    app = [(rounded(1, 1, 31, 31, 6), ink("1d2b3a")), (line(9, 9, 23, 11, 2.5), ink("4f7fae")),
           (line(9, 9, 14, 23, 2.5), ink("4f7fae")), (line(23, 11, 14, 23, 2.5), ink("4f7fae")),
           (circle(9, 9, 4.5), AMBER), (circle(23, 11, 4.5), AMBER), (circle(14, 23, 4.5), AMBER)]
    write_png(os.path.join(HERE, "icon102.png"), 32, 32, render(32, 32, app))
    up = [(polygon((1, 7), (5, 2), (9, 7)), GREY)]
    down = [(polygon((1, 2), (9, 2), (5, 7)), GREY)]
    write_png(os.path.join(HERE, "bitmap140.png"), 10, 9, render(10, 9, up, samples=1))
    write_png(os.path.join(HERE, "bitmap141.png"), 10, 9, render(10, 9, down, samples=1))
    for number, images in ((144, TREE[:8]), (146, TREE[8:])):
        width = 16 * len(images)
        pixels = [GREEN] * (width * 16)
        for i, layers in enumerate(images):
            render(16, 16, layers, background=GREEN, samples=1, ox=16 * i, pixels=pixels, stride=width)
        write_png(os.path.join(HERE, f"bitmap{number}.png"), width, 16, pixels)
    write_png(os.path.join(HERE, "bitmap142.png"), *splash())


if __name__ == "__main__":
    main()
