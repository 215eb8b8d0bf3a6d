#!/usr/bin/env python3
"""Draws the program's icons and blank bitmap as 16-colour images.

Run from this folder; it rewrites kirune.ico, up.ico, down.ico and blank.bmp.
The images are committed, so a build needs no Python.
"""
import struct

# The standard 16-colour palette, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DGREEN, SILVER, GREY, LIME, BLUE, WHITE = 0, 2, 7, 8, 10, 12, 15
CLEAR = None  # transparent


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


def printer(size):
    """A printer with a sheet of paper coming out of its top."""
    img = canvas(size)
    s = size / 32.0

    def p(v):
        return int(round(v * s))
    # the sheet, with lines of a printed photo caption
    rect(img, p(9), p(2), p(22), p(16), WHITE)
    frame(img, p(9), p(2), p(22), p(16), BLACK)
    if size >= 32:
        rect(img, 12, 5, 19, 10, BLUE)
        for y in (12, 14):
            rect(img, 12, y, 19, y, GREY)
    else:
        rect(img, p(12), p(6), p(19), p(10), BLUE)
    # the body
    rect(img, p(3), p(14), p(28), p(25), SILVER)
    frame(img, p(3), p(14), p(28), p(25), BLACK)
    rect(img, p(4), p(15), p(27), p(15), WHITE)
    rect(img, p(4), p(24), p(27), p(24), GREY)
    # paper slot and power lamp
    rect(img, p(7), p(18), p(24), p(18), BLACK)
    rect(img, p(23), p(21), p(25), p(22), LIME)
    # output tray
    rect(img, p(6), p(26), p(25), p(28), GREY)
    frame(img, p(6), p(26), p(25), p(28), BLACK)
    return img


def arrow_button(up):
    """A raised grey square with a black triangle pointing up or down."""
    img = canvas(32, SILVER)
    rect(img, 0, 0, 31, 0, WHITE)
    rect(img, 0, 0, 0, 31, WHITE)
    rect(img, 0, 31, 31, 31, BLACK)
    rect(img, 31, 0, 31, 31, BLACK)
    rect(img, 1, 30, 30, 30, GREY)
    rect(img, 30, 1, 30, 30, GREY)
    for i in range(10):
        y = 10 + i if up else 21 - i
        rect(img, 15 - i, y, 16 + i, y, BLACK)
    return img


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
        for y in reversed(range(size)):
            row = bytearray((size + 7) // 8)
            for x in range(size):
                if img[y][x] is None:
                    row[x // 8] |= 0x80 >> (x % 8)
            row += b'\0' * (-len(row) % 4)
            body += bytes(row)
    return body


def write_ico(path, images):
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for img in images:
        blob = dib(img, True)
        size = len(img)
        entries += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)) + entries + blobs)


def write_bmp(path, img):
    body = dib(img, False)
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', 14 + len(body), 0, 0, 14 + 40 + 64) + body)


write_ico('kirune.ico', [printer(32), printer(16)])
write_ico('up.ico', [arrow_button(True)])
write_ico('down.ico', [arrow_button(False)])
write_bmp('blank.bmp', canvas(48, SILVER))
