#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files.

quillo.ico:    a clipboard holding a small stack of note cards, 32x32 and 16x16.
searchbox.ico: a magnifying glass on an orange tile, 16x16.

Every image is 256 colours (8 bits per pixel with a palette) with a 1-bit
transparency mask. Only the standard library is used.

usage: make_icon.py OUTPUT_FOLDER
"""
import os
import struct
import sys

SUB = 4  # sub-samples per pixel along each axis


class Canvas:
    """An RGBA picture drawn with sub-sampled shapes (coordinates in pixels)."""

    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]  # (r, g, b, coverage 0..1)

    def _paint(self, inside, colour):
        n = self.size
        for y in range(n):
            for x in range(n):
                hits = 0
                for sy in range(SUB):
                    for sx in range(SUB):
                        if inside(x + (sx + 0.5) / SUB, y + (sy + 0.5) / SUB):
                            hits += 1
                if not hits:
                    continue
                a = hits / (SUB * SUB)
                old = self.px[y][x]
                if old is None:
                    self.px[y][x] = (*colour, a)
                else:
                    r, g, b, oa = old
                    mix = tuple(round(c * a + o * (1 - a)) for c, o in zip(colour, (r, g, b)))
                    self.px[y][x] = (*mix, max(oa, a))

    def rect(self, x0, y0, x1, y1, colour, radius=0.0):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            if radius <= 0:
                return True
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
        self._paint(inside, colour)

    def ring(self, cx, cy, r_out, r_in, colour):
        self._paint(lambda x, y: r_in ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out ** 2, colour)

    def disc(self, cx, cy, r, colour):
        self._paint(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)

    def bar(self, x0, y0, x1, y1, half_width, colour):
        """A straight stroke from (x0, y0) to (x1, y1)."""
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            px, py = x0 + t * dx, y0 + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= half_width ** 2
        self._paint(inside, colour)


def image_palette(canvas):
    """The picture's own colours, most used first; at most 256 (the rest map to
    the nearest of them)."""
    counts = {}
    for row in canvas.px:
        for p in row:
            if p is not None and p[3] >= 0.5:
                counts[p[:3]] = counts.get(p[:3], 0) + 1
    colours = sorted(counts, key=lambda c: -counts[c])[:255]
    return [(0, 0, 0)] + colours  # entry 0: the transparent pixels


def nearest(colour, colours):
    best, best_d = 1, None
    for i, p in enumerate(colours[1:], start=1):
        d = sum((a - b) ** 2 for a, b in zip(colour, p))
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def dib(canvas):
    """The icon image: BITMAPINFOHEADER, palette, colour rows, mask rows (bottom up)."""
    n = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = image_palette(canvas)
    padded = colours + [(0, 0, 0)] * (256 - len(colours))
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in padded)
    cache = {}
    xor_rows, and_rows = [], []
    for y in reversed(range(n)):
        row = bytearray()
        mask_bits = []
        for x in range(n):
            p = canvas.px[y][x]
            if p is None or p[3] < 0.5:
                row.append(0)
                mask_bits.append(1)
            else:
                key = p[:3]
                if key not in cache:
                    cache[key] = nearest(key, colours)
                row.append(cache[key])
                mask_bits.append(0)
        row += b'\0' * ((4 - len(row) % 4) % 4)
        xor_rows.append(bytes(row))
        mask = bytearray()
        for i in range(0, n, 8):
            byte = 0
            for bit in mask_bits[i:i + 8]:
                byte = (byte << 1) | bit
            byte <<= 8 - len(mask_bits[i:i + 8])
            mask.append(byte)
        mask += b'\0' * ((4 - len(mask) % 4) % 4)
        and_rows.append(bytes(mask))
    return header + pal + b''.join(xor_rows) + b''.join(and_rows)


def ico(canvases):
    images = [dib(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.size, c.size, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


BOARD = (158, 100, 48)
BOARD_EDGE = (96, 58, 24)
CLIP = (176, 180, 190)
CLIP_EDGE = (84, 88, 100)
CARD_BACK = (255, 226, 120)
CARD_FRONT = (252, 252, 252)
CARD_EDGE = (150, 150, 150)
LINE = (0, 96, 192)
ACCENT = (192, 96, 0)


def clipboard_icon_32():
    """A clipboard with two note cards on it, the front one ruled in blue."""
    s = 1.0
    c = Canvas(32)
    c.rect(4 * s, 3 * s, 28 * s, 31 * s, BOARD_EDGE, radius=2.5 * s)
    c.rect(5 * s, 4 * s, 27 * s, 30 * s, BOARD, radius=2 * s)
    # The back card, a little higher and to the right.
    c.rect(11 * s, 8 * s, 25 * s, 24 * s, CARD_EDGE)
    c.rect(12 * s, 9 * s, 24 * s, 23 * s, CARD_BACK)
    # The front card with its ruled lines.
    c.rect(7 * s, 12 * s, 22 * s, 29 * s, CARD_EDGE)
    c.rect(8 * s, 13 * s, 21 * s, 28 * s, CARD_FRONT)
    for y in (16, 19.5, 23):
        c.rect(10 * s, y * s, 19 * s, (y + 1.5) * s, LINE)
    c.rect(10 * s, 25.5 * s, 15 * s, 27 * s, ACCENT)
    # The clip at the top.
    c.rect(10 * s, 1 * s, 22 * s, 7 * s, CLIP_EDGE, radius=1.5 * s)
    c.rect(11 * s, 2 * s, 21 * s, 6 * s, CLIP, radius=1 * s)
    c.rect(14 * s, 2.5 * s, 18 * s, 4 * s, CLIP_EDGE)
    return c


def clipboard_icon_16():
    """The same clipboard drawn on whole pixels, so that it stays sharp at 16x16."""
    c = Canvas(16)
    c.rect(2, 2, 14, 16, BOARD_EDGE)
    c.rect(3, 3, 13, 15, BOARD)
    c.rect(6, 4, 13, 12, CARD_EDGE)
    c.rect(7, 5, 12, 11, CARD_BACK)
    c.rect(4, 6, 11, 15, CARD_EDGE)
    c.rect(5, 7, 10, 14, CARD_FRONT)
    for y in (8, 10):
        c.rect(6, y, 9, y + 1, LINE)
    c.rect(6, 12, 8, 13, ACCENT)
    c.rect(5, 0, 11, 4, CLIP_EDGE)
    c.rect(6, 1, 10, 3, CLIP)
    return c


def search_icon():
    """A white magnifying glass on an orange tile."""
    c = Canvas(16)
    c.rect(0, 0, 16, 16, (150, 70, 0), radius=3)
    c.rect(1, 1, 15, 15, ACCENT, radius=2.5)
    c.disc(6.5, 6.5, 3.2, (255, 236, 200))
    c.ring(6.5, 6.5, 4.4, 3.0, (255, 255, 255))
    c.bar(9.6, 9.6, 13, 13, 1.3, (255, 255, 255))
    return c


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, 'quillo.ico'), 'wb') as f:
        f.write(ico([clipboard_icon_32(), clipboard_icon_16()]))
    with open(os.path.join(folder, 'searchbox.ico'), 'wb') as f:
        f.write(ico([search_icon()]))


if __name__ == '__main__':
    main()
