#!/usr/bin/env python3
"""Reads a built Kirune.exe as the Windows loader will and fails on what an
older Windows would refuse or a newer one would mishandle:

- an import outside the list of functions Windows XP SP3 has (the list
  names each DLL!Function; a DLL that is not in it is not a system DLL);
- an import by ordinal (the list names functions);
- a 32-bit program that is not large-address aware;
- no application manifest (resource type 24, id 1), or one that is not
  the manifest in the sources.

    check-pe.py PROGRAM.exe IMPORT-LIST MANIFEST
"""
import struct
import sys

RT_MANIFEST = 24
CREATEPROCESS_MANIFEST_RESOURCE_ID = 1
IMAGE_FILE_LARGE_ADDRESS_AWARE = 0x0020
PE32_MAGIC, PE32_PLUS_MAGIC = 0x10B, 0x20B
IMPORT_DIRECTORY, RESOURCE_DIRECTORY = 1, 2


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
    if pe.magic == PE32_MAGIC and not pe.characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE:
        faults.append('is a 32-bit program that is not large-address aware')
    manifest = pe.resource(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID)
    with open(manifest_path, 'rb') as f:
        source = f.read()
    if manifest is None:
        faults.append('has no application manifest (resource type 24, id 1)')
    elif manifest != source:
        faults.append('has a manifest that is not %s' % manifest_path)
    for fault in faults:
        print('%s %s' % (exe, fault))
    if not faults:
        print('%s: %d imports, all in the list; manifest and flags as they should be' % (exe, len(pe.imports())))
    return 1 if faults else 0


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
