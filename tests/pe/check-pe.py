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
import struct
import sys

RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24
CREATEPROCESS_MANIFEST_RESOURCE_ID = 1
IMAGE_FILE_LARGE_ADDRESS_AWARE = 0x0020
PE32_MAGIC, PE32_PLUS_MAGIC = 0x10B, 0x20B
IMPORT_DIRECTORY, RESOURCE_DIRECTORY = 1, 2
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


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from('<I', data, 0x3C)[0]
        if data[pe:pe + 4] != b'PE\0\0':
            raise ValueError('not a PE file')
        coff = pe + 4
        sections, optional_size, self.characteristics = (
            struct.unpack_from('<H', data, coff + 2)[0],
            struct.unpack_from('<H', data, coff + 16)[0],
            struct.unpack_from('<H', data, coff + 18)[0])
        optional = coff + 20
        self.magic = struct.unpack_from('<H', data, optional)[0]
        directories = optional + (96 if self.magic == PE32_MAGIC else 112)
        count = struct.unpack_from('<I', data, directories - 4)[0]
        self.directories = [struct.unpack_from('<II', data, directories + 8 * i) for i in range(count)]
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            size, rva, raw_size, raw = struct.unpack_from('<IIII', data, table + 40 * i + 8)
            self.sections.append((rva, max(size, raw_size), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError('RVA %#x is in no section' % rva)

    def u32(self, rva):
        return struct.unpack_from('<I', self.data, self.offset(rva))[0]

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b'\0', at)].decode('ascii')

    def imports(self):
        """(dll, name) for each import; name is '#ordinal' for one by ordinal."""
        rva = self.directories[IMPORT_DIRECTORY][0]
        wide = self.magic == PE32_PLUS_MAGIC
        thunk_size, ordinal_flag = (8, 1 << 63) if wide else (4, 1 << 31)
        found = []
        while rva:
            lookup, _, _, name, first = struct.unpack_from('<IIIII', self.data, self.offset(rva))
            if name == 0:
                break
            dll = self.text(name)
            thunk = lookup or first
            while True:
                at = self.offset(thunk)
                entry = struct.unpack_from('<Q' if wide else '<I', self.data, at)[0]
                if entry == 0:
                    break
                found.append((dll, '#%d' % (entry & 0xFFFF) if entry & ordinal_flag else self.text((entry & 0x7FFFFFFF) + 2)))
                thunk += thunk_size
            rva += 20
        return found

    def resource(self, type_id, name_id):
        """The first language's data of a resource, or None."""
        base = self.directories[RESOURCE_DIRECTORY][0]
        if base == 0:
            return None

        def entries(directory):
            named, ids = struct.unpack_from('<HH', self.data, self.offset(base + directory + 12))
            for i in range(named + ids):
                yield struct.unpack_from('<II', self.data, self.offset(base + directory + 16 + 8 * i))

        def child(directory, wanted):
            for ident, target in entries(directory):
                if not ident & 0x80000000 and ident == wanted and target & 0x80000000:
                    return target & 0x7FFFFFFF
            return None

        names = child(0, type_id)
        languages = child(names, name_id) if names is not None else None
        if languages is None:
            return None
        for _, target in entries(languages):
            data_rva, size = struct.unpack_from('<II', self.data, self.offset(base + target))
            at = self.offset(data_rva)
            return self.data[at:at + size]
        return None


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
