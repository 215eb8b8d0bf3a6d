#!/usr/bin/env python3
"""A Windows program file as the Windows loader reads it: its headers, its
imports and its resources. The package and the tests read the built
Kirune.exe through it.

    pe_image.py PROGRAM.exe

prints "MACHINE MAGIC VERSION": the machine as 4 hex digits, the optional
header's magic and the file version of the version resource.
"""
import struct
import sys

RT_ICON, RT_VERSION, RT_GROUP_ICON, RT_MANIFEST = 3, 16, 14, 24
VS_VERSION_INFO = 1
PE32_MAGIC, PE32_PLUS_MAGIC = 0x10B, 0x20B
IMPORT_DIRECTORY, RESOURCE_DIRECTORY = 1, 2
# VS_FIXEDFILEINFO: signature 0xFEEF04BD, structure version 1.0, then the
# file version as two DWORDs.
FIXED_FILE_INFO = struct.pack('<II', 0xFEEF04BD, 0x00010000)


class Pe:
    def __init__(self, data):
        self.data = data
        if data[:2] != b'MZ':
            raise ValueError('no MZ header')
        pe = struct.unpack_from('<I', data, 0x3C)[0]
        if data[pe:pe + 4] != b'PE\0\0':
            raise ValueError('no PE signature')
        coff = pe + 4
        self.machine, sections = struct.unpack_from('<HH', data, coff)
        optional_size, self.characteristics = struct.unpack_from('<HH', data, coff + 16)
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

    def file_version(self):
        """The version resource's file version as 'a.b.c.d', or None."""
        info = self.resource(RT_VERSION, VS_VERSION_INFO) or b''
        at = info.find(FIXED_FILE_INFO)
        if at < 0:
            return None
        ms, ls = struct.unpack_from('<II', info, at + 8)
        return '%d.%d.%d.%d' % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def main(exe):
    with open(exe, 'rb') as f:
        pe = Pe(f.read())
    version = pe.file_version()
    if version is None:
        raise ValueError('no version resource')
    print('%04x %03x %s' % (pe.machine, pe.magic, version))


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    try:
        main(sys.argv[1])
    except (OSError, ValueError, struct.error) as e:
        sys.exit('%s: %s' % (sys.argv[1], e))
