#!/usr/bin/env python3
"""Reads a built Kirune.exe as the Windows loader will and fails on what an
older Windows would refuse or a newer one would mishandle:

- an import outside the list of functions Windows XP SP3 has (the list
  names each DLL!Function; a DLL that is not in it is not a system DLL);
- an import by ordinal (the list names functions);
- a program that is not large-address aware: a 32-bit one keeps 2 GiB on
  64-bit Windows instead of 4, a 64-bit one gets all its memory below
  2 GiB (and does not start under x64 emulation on ARM64);
- no application manifest (resource type 24, id 1), or one that is not
  the manifest in the sources;
- an icon without its image for each display scale, or whose 16 and 32
  pixel images are not the program's first ones, byte for byte.

    check-pe.py PROGRAM.exe IMPORT-LIST MANIFEST
"""
import hashlib
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts', 'lib'))
from pe_image import Pe, PE32_MAGIC, RT_GROUP_ICON, RT_ICON, RT_MANIFEST  # noqa: E402

CREATEPROCESS_MANIFEST_RESOURCE_ID = 1
IMAGE_FILE_LARGE_ADDRESS_AWARE = 0x0020
PNG_RGBA_256 = b'\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x01\0\0\0\x01\0\x08\x06'

# Each icon's sizes in pixels. The 16-colour images of 16 and 32 pixels are
# what Windows shows at 100 % display scale and Windows XP reads: they stay
# as they were, by the SHA-256 of each taken from the icon files before the
# other sizes came. The others are 32-bit with alpha, 256 x 256 as PNG.
ICON_SIZES = {128: [16, 20, 24, 32, 40, 48, 64, 256], 131: [32, 40, 48, 64], 132: [32, 40, 48, 64]}
FIRST_IMAGES = {
    (128, 32): '9c34e488d4a2f283689fbc233c67b1baa6907e7c5c598dbde755b9b32e8fc2e4',
    (128, 16): '41af4d30535d5402562e7008c8f5f6e5aa1cc1c5050ca1f83c46c0ba8fd3e1b9',
    (131, 32): 'bec4c28dce7942c48cbb733ed191c2bd7573e51282eb45ec2a5edf2afaf79c9a',
    (132, 32): '7f0538a7df61a5c8b0d39a37e9471280cb3955bc9fe4eda897b2c1d34a94994a',
}


def icon_faults(pe):
    faults = []
    for icon, wanted in ICON_SIZES.items():
        group = pe.resource(RT_GROUP_ICON, icon) or b'\0' * 6
        sizes = []
        for i in range(struct.unpack_from('<H', group, 4)[0]):
            width, _, _, _, _, bits, length, ident = struct.unpack_from('<BBBBHHIH', group, 6 + 14 * i)
            size = width or 256
            sizes.append(size)
            image = pe.resource(RT_ICON, ident) or b''
            if (icon, size) in FIRST_IMAGES:
                good, what = hashlib.sha256(image).hexdigest() == FIRST_IMAGES[icon, size], 'the first one'
            elif size == 256:
                good, what = bits == 32 and image.startswith(PNG_RGBA_256), 'a 32-bit PNG'
            else:
                good, what = bits == 32 and image[:16] == struct.pack('<IiiHH', 40, size, 2 * size, 1, 32), '32-bit'
            if not good or len(image) != length:
                faults.append('has a %d x %d image in icon %d that is not %s' % (size, size, icon, what))
        if sorted(sizes) != wanted:
            faults.append('has icon %d in sizes %s, not %s' % (icon, sorted(sizes), wanted))
    return faults


def read_list(path):
    allowed = set()
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.split('#', 1)[0].strip()
            if line:
                dll, function = line.split('!')
                allowed.add((dll.lower(), function))
    return allowed


def main(exe, list_path, manifest_path):
    with open(exe, 'rb') as f:
        pe = Pe(f.read())
    allowed = read_list(list_path)
    system_dlls = {dll for dll, _ in allowed}
    faults = []
    for dll, function in pe.imports():
        if dll.lower() not in system_dlls:
            faults.append('imports from %s, which is not a system DLL: %s' % (dll, function))
        elif (dll.lower(), function) not in allowed:
            faults.append('imports %s!%s, which is not in %s' % (dll, function, list_path))
    if not pe.characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE:
        faults.append('is a %s program that is not large-address aware' % ('32-bit' if pe.magic == PE32_MAGIC else '64-bit'))
    manifest = pe.resource(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID)
    with open(manifest_path, 'rb') as f:
        source = f.read()
    if manifest is None:
        faults.append('has no application manifest (resource type 24, id 1)')
    elif manifest != source:
        faults.append('has a manifest that is not %s' % manifest_path)
    faults += icon_faults(pe)
    for fault in faults:
        print('%s %s' % (exe, fault))
    if not faults:
        print('%s: %d imports, all in the list; manifest, flags and icons as they should be' % (exe, len(pe.imports())))
    return 1 if faults else 0


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
