#!/usr/bin/env python3
"""Draws the program's icons and blank bitmap.

Run from this folder; it rewrites kirune.ico, up.ico, down.ico and blank.bmp.
The images are committed, so a build needs no Python.

Each picture is drawn on a grid of 32 x 32 units. The first images, 32 x 32
and 16 x 16 in 16 colours, are what Windows shows at 100 % display scale and
what Windows XP reads; the larger and in-between sizes, for higher display
scales and Explorer's views, are 32-bit with alpha (256 x 256 as PNG), with
areas scaled to the size and lines as thick as the scale allows.
"""
import os
import re
import struct
import zlib
from fractions import Fraction

# The standard 16-colour palette, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DGREEN, SILVER, GREY, LIME, BLUE, WHITE = 0, 2, 7, 8, 10, 12, 15
CLEAR = None  # transparent
UNITS = 32


def cell_grey():
    """The palette index of the cells' grey, which the program names in
    picture/GridColours.h: a blank cell shows it around its picture too."""
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'picture', 'GridColours.h')
    with open(header) as f:
        found = re.search(r'kCellGrey = RGB\((\d+), (\d+), (\d+)\)', f.read())
    if not found:
        raise SystemExit('%s names no kCellGrey = RGB(r, g, b)' % header)
    rgb = tuple(int(v) for v in found.groups())
    if rgb not in PALETTE:
        raise SystemExit('the cells\' grey %s is not a colour of the 16-colour palette' % (rgb,))
    return PALETTE.index(rgb)


def canvas(size, fill=CLEAR):
    return [[fill] * size for _ in range(size)]


def rect(img, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = c


def frame(img, x0, y0, x1, y1, c):
    for x in range(x0, x1 + 1):
        img[y0][x] = img[y1][x] = c
    for y in range(y0, y1 + 1):
        img[y][x0] = img[y][x1] = c


class Pen:
    """Draws in grid units: unit v begins at pixel round(v * size / 32), an
    area covers its units' pixels, and a line is max(1, size // 32) pixels
    thick, inside the box it belongs to. At 32 pixels a unit is a pixel."""

    def __init__(self, size, fill=CLEAR):
        self.img = canvas(size, fill)
        self.size = size
        self.line = max(1, size // UNITS)

    def edge(self, v):
        return (v * self.size + UNITS // 2) // UNITS

    def fill(self, left, top, right, bottom, c):
        """Pixels left <= x < right, top <= y < bottom."""
        rect(self.img, left, top, right - 1, bottom - 1, c)

    def box(self, x0, y0, x1, y1):
        """The pixel box of units x0..x1, y0..y1."""
        return self.edge(x0), self.edge(y0), self.edge(x1 + 1), self.edge(y1 + 1)

    def area(self, x0, y0, x1, y1, c):
        left, top, right, bottom = self.box(x0, y0, x1, y1)
        self.fill(left, top, right, bottom, c)

    def frame(self, x0, y0, x1, y1, c):
        left, top, right, bottom = self.box(x0, y0, x1, y1)
        w = self.line
        self.fill(left, top, right, top + w, c)
        self.fill(left, bottom - w, right, bottom, c)
        self.fill(left, top, left + w, bottom, c)
        self.fill(right - w, top, right, bottom, c)

    def hline(self, x0, x1, y, c):
        top = self.edge(y)
        self.fill(self.edge(x0), top, self.edge(x1 + 1), top + self.line, c)

    def bevel(self, x0, y0, x1, y1, light, shadow):
        """A light line and a shadow line just inside the top and the bottom
        of a framed box, from its left line to its right line."""
        left, top, right, bottom = self.box(x0, y0, x1, y1)
        w = self.line
        self.fill(left + w, top + w, right - w, top + 2 * w, light)
        self.fill(left + w, bottom - 2 * w, right - w, bottom - w, shadow)


class RoundingPen(Pen):
    """The 16 x 16 image as it has always been drawn: each unit coordinate
    rounded to a pixel, every line one pixel."""

    def p(self, v):
        return int(round(v * self.size / float(UNITS)))

    def area(self, x0, y0, x1, y1, c):
        rect(self.img, self.p(x0), self.p(y0), self.p(x1), self.p(y1), c)

    def frame(self, x0, y0, x1, y1, c):
        frame(self.img, self.p(x0), self.p(y0), self.p(x1), self.p(y1), c)

    def hline(self, x0, x1, y, c):
        self.area(x0, y, x1, y, c)

    def bevel(self, x0, y0, x1, y1, light, shadow):
        self.area(x0 + 1, y0 + 1, x1 - 1, y0 + 1, light)
        self.area(x0 + 1, y1 - 1, x1 - 1, y1 - 1, shadow)


def printer(size):
    """A printer with a sheet of paper coming out of its top."""
    pen = RoundingPen(size) if size == 16 else Pen(size)
    # the sheet, with a printed photo and, where there is room, its caption
    pen.area(9, 2, 22, 16, WHITE)
    pen.frame(9, 2, 22, 16, BLACK)
    if size >= 24:
        pen.area(12, 5, 19, 10, BLUE)
        for y in (12, 14):
            pen.hline(12, 19, y, GREY)
    else:
        pen.area(12, 6, 19, 10, BLUE)
    # the body
    pen.area(3, 14, 28, 25, SILVER)
    pen.frame(3, 14, 28, 25, BLACK)
    pen.bevel(3, 14, 28, 25, WHITE, GREY)
    # paper slot and power lamp
    pen.hline(7, 24, 18, BLACK)
    pen.area(23, 21, 25, 22, LIME)
    # output tray
    pen.area(6, 26, 25, 28, GREY)
    pen.frame(6, 26, 25, 28, BLACK)
    return pen.img


def arrow_button(up, size=UNITS):
    """A raised grey square with a black triangle pointing up or down."""
    pen = Pen(size, SILVER)
    n, w = size, pen.line
    pen.fill(0, 0, n, w, WHITE)
    pen.fill(0, 0, w, n, WHITE)
    pen.fill(0, n - w, n, n, BLACK)
    pen.fill(n - w, 0, n, n, BLACK)
    pen.fill(w, n - 2 * w, n - w, n - w, GREY)
    pen.fill(n - 2 * w, w, n - w, n - w, GREY)
    # Ten rows of units, 2 units wide at the point and 20 at the base; a
    # pixel is black when its centre lies inside.
    scale = Fraction(UNITS, size)
    for py in range(size):
        y = (py + Fraction(1, 2)) * scale
        i = y - Fraction(21, 2) if up else Fraction(43, 2) - y
        if not -Fraction(1, 2) <= i < Fraction(19, 2):
            continue
        for px in range(size):
            if 15 - i <= (px + Fraction(1, 2)) * scale < 17 + i:
                pen.img[py][px] = BLACK
    return pen.img


def dib(img, with_mask):
    size = len(img)
    height = size * 2 if with_mask else size
    header = struct.pack('<IiiHHIIiiII', 40, size, height, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_rows = []
    for y in reversed(range(size)):
        row = bytearray()
        for x in range(0, size, 2):
            hi = img[y][x] if img[y][x] is not None else 0
            lo = img[y][x + 1] if img[y][x + 1] is not None else 0
            row.append(hi << 4 | lo)
        row += b'\0' * (-len(row) % 4)
        xor_rows.append(bytes(row))
    body = header + pal + b''.join(xor_rows)
    if with_mask:
        body += and_mask(img)
    return body


def and_mask(img):
    """One bit a pixel, set where the image is transparent, rows bottom up."""
    size = len(img)
    body = b''
    for y in reversed(range(size)):
        row = bytearray((size + 7) // 8)
        for x in range(size):
            if img[y][x] is None:
                row[x // 8] |= 0x80 >> (x % 8)
        row += b'\0' * (-len(row) % 4)
        body += bytes(row)
    return body


def rgba(c):
    return (0, 0, 0, 0) if c is None else PALETTE[c] + (255,)


def dib32(img):
    """A 32-bit image with alpha, and the mask that older Windows reads."""
    size = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''
    for y in reversed(range(size)):
        for c in img[y]:
            r, g, b, a = rgba(c)
            pixels += struct.pack('<BBBB', b, g, r, a)
    return header + pixels + and_mask(img)


def png(img):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    size = len(img)
    raw = b''.join(b'\0' + bytes(v for c in row for v in rgba(c)) for row in img)
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


def write_ico(path, images):
    """images: (picture, bits per pixel), 4 for the 16-colour ones."""
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for img, bits in images:
        size = len(img)
        if bits == 4:
            blob, colours = dib(img, True), 16
        else:
            blob, colours = png(img) if size == 256 else dib32(img), 0
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bits, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)) + entries + blobs)


def write_bmp(path, img):
    body = dib(img, False)
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', 14 + len(body), 0, 0, 14 + 40 + 64) + body)


if __name__ == '__main__':
    write_ico('kirune.ico', [(printer(32), 4), (printer(16), 4)]
              + [(printer(size), 32) for size in (20, 24, 40, 48, 64, 256)])
    for name, up in (('up.ico', True), ('down.ico', False)):
        write_ico(name, [(arrow_button(up), 4)] + [(arrow_button(up, size), 32) for size in (40, 48, 64)])
    write_bmp('blank.bmp', canvas(48, cell_grey()))
