#!/usr/bin/env bash
# Makes the seed images of the damaged-file tests: valid files of every kind
# GDI+ meets in the wild, and a few hostile ones. The test damages them further.
#   make-corpus.sh FOLDER
set -euo pipefail
out=$1
[ -f "$out/.complete" ] && exit 0
mkdir -p "$out"
cd "$out"

convert -size 320x240 gradient:red-blue -quality 85 seed.jpg
convert -size 320x240 gradient:green-yellow seed.png
convert -size 320x240 gradient:navy-orange BMP3:seed.bmp
convert -size 320x240 gradient:white-black seed.gif
convert -size 320x240 gradient:teal-pink -compress lzw seed.tif
convert -size 320x240 gradient:red-blue -colorspace CMYK -quality 85 cmyk.jpg
convert -size 320x240 gradient:red-blue -depth 16 png16.png
convert -size 1x5000 gradient:red-blue strip-1x5000.png
convert -size 5000x1 gradient:red-blue strip-5000x1.png
convert -delay 10 -size 64x48 xc:red xc:green xc:blue -loop 0 animated.gif
convert -size 64x48 xc:red xc:green xc:blue multipage.tif
convert -size 64x48 xc:purple -alpha set -channel A -evaluate set 50% +channel alpha.png

# Headers claiming 60000 x 60000: a PNG whose pixels would not fit a 32-bit
# address space but whose file is small and valid, a PNG with the header only,
# and a BMP header.
python3 - <<'PY'
import struct, zlib

def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)

side = 60000
ihdr = struct.pack('>IIBBBBB', side, side, 1, 0, 0, 0, 0)   # 1-bit greyscale
row = b'\0' * (1 + side // 8)
z = zlib.compressobj(9)
data = b''.join(z.compress(row) for _ in range(side)) + z.flush()
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr)
open('huge-valid.png', 'wb').write(png + chunk(b'IDAT', data) + chunk(b'IEND', b''))
open('huge-header.png', 'wb').write(png + chunk(b'IDAT', zlib.compress(row * 4)) + chunk(b'IEND', b''))
bmp = struct.pack('<2sIHHIIiiHHIIiiII', b'BM', 54 + 16, 0, 0, 54, 40, side, side, 1, 24, 0, 0, 2835, 2835, 0, 0)
open('huge-header.bmp', 'wb').write(bmp + b'\x7f' * 16)
PY
touch .complete
