#!/usr/bin/env python3
# Writes a palette PNG of DEPTH bits per pixel (1, 2, 4 or 8) from W x H
# pixels of 8-bit RGB on standard input: palette-png.py W H DEPTH FILE.
# The palette holds the image's colours, which must fit the depth.
import struct, sys, zlib
w, h, depth, out = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
rgb = sys.stdin.buffer.read()
pixels = [rgb[i:i + 3] for i in range(0, len(rgb), 3)]
palette = sorted(set(pixels))
assert len(palette) <= 1 << depth, "too many colours"
index = {c: i for i, c in enumerate(palette)}
per_byte = 8 // depth
rows = []
for y in range(h):
    row = [index[c] for c in pixels[y * w:(y + 1) * w]] + [0] * (-w % per_byte)
    rows.append(b"\0" + bytes(sum(v << (8 - depth * (j + 1)) for j, v in enumerate(row[k:k + per_byte]))
                              for k in range(0, len(row), per_byte)))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
open(out, "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, 3, 0, 0, 0))
                      + chunk(b"PLTE", b"".join(palette)) + chunk(b"IDAT", zlib.compress(b"".join(rows))) + chunk(b"IEND", b""))
