"""Reads what a 32- or 64-bit Windows program imports: the PE import table, the delay-load
descriptors (including those GNU ld leaves out of the delay-import directory), the header's
version fields and the manifest resource."""

import struct


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe : pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        self.optional = pe + 24
        magic = struct.unpack_from("<H", data, self.optional)[0]
        self.is64 = magic == 0x20B
        (self.os_version, self.subsystem_version) = (
            struct.unpack_from("<HH", data, self.optional + 40),
            struct.unpack_from("<HH", data, self.optional + 48),
        )
        self.subsystem = struct.unpack_from("<H", data, self.optional + 68)[0]
        directories = self.optional + (112 if self.is64 else 96)
        count = struct.unpack_from("<I", data, directories - 4)[0]
        self.directories = [
            struct.unpack_from("<II", data, directories + 8 * i) for i in range(count)
        ]
        table = self.optional + optional_size
        self.sections = []
        for i in range(sections):
            (virtual_size, rva, raw_size, raw) = struct.unpack_from(
                "<IIII", data, table + 40 * i + 8
            )
            self.sections.append((rva, max(virtual_size, raw_size), raw, raw_size))

    def offset(self, rva):
        """The file offset of an RVA, or None when no section's file data holds it."""
        for start, size, raw, raw_size in self.sections:
            if start <= rva < start + min(size, raw_size):
                return raw + rva - start
        return None

    def string(self, rva, limit=256):
        at = self.offset(rva)
        if at is None:
            return None
        end = self.data.find(b"\0", at, at + limit)
        return None if end < 0 else self.data[at:end].decode("latin-1")

    def thunk_names(self, rva):
        """Names (or "#ordinal") of a zero-ended import name table; None if it is not one."""
        width, flag = (8, 1 << 63) if self.is64 else (4, 1 << 31)
        names = []
        at = self.offset(rva)
        while at is not None and len(names) < 4096:
            entry = int.from_bytes(self.data[at : at + width], "little")
            if entry == 0:
                return names
            if entry & flag:
                names.append("#%d" % (entry & 0xFFFF))
            else:
                name = self.string(entry + 2)
                if not name or not all(c.isalnum() or c in "_@?$" for c in name):
                    return None
                names.append(name)
            at += width
        return None

    def imports(self):
        """{dll: [function]} of the ordinary import table."""
        found = {}
        rva = self.directories[1][0] if len(self.directories) > 1 else 0
        at = self.offset(rva) if rva else None
        while at is not None:
            lookup, _, _, name, first = struct.unpack_from("<IIIII", self.data, at)
            if name == 0:
                break
            names = self.thunk_names(lookup or first) or []
            found.setdefault(self.string(name).lower(), []).extend(names)
            at += 20
        return found

    def delay_imports(self):
        """{dll: [function]} of every delay-load descriptor in the image. GNU ld does not fill the
        delay-import directory for dlltool's descriptors, so every section is searched for the
        32-byte record: attributes 1 (RVAs), the DLL's name, its handle, its address table and
        its name table, then three zero fields."""
        found = {}
        for start, size, raw, raw_size in self.sections:
            for at in range(raw, raw + raw_size - 31, 4):
                record = struct.unpack_from("<8I", self.data, at)
                if record[0] != 1 or record[5:] != (0, 0, 0) or 0 in record[1:5]:
                    continue
                name = self.string(record[1])
                if not name or not name.lower().endswith(".dll"):
                    continue
                names = self.thunk_names(record[4])
                if names is None or self.offset(record[3]) is None:
                    continue
                found.setdefault(name.lower(), []).extend(names)
        return found

    def manifest(self):
        """The text of the first RT_MANIFEST resource, or None."""
        rva = self.directories[2][0] if len(self.directories) > 2 else 0
        root = self.offset(rva) if rva else None
        if root is None:
            return None

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
            for i in range(named + numbered):
                yield struct.unpack_from("<II", self.data, directory + 16 + 8 * i)

        # The type directory, then the first name's directory of languages, then its data.
        node = root
        for wanted in (24, None):
            for ident, target in entries(node):
                if wanted is not None and ident != wanted:
                    continue
                if not target & 0x80000000:
                    return None
                node = root + (target & 0x7FFFFFFF)
                break
            else:
                return None
        for _, target in entries(node):
            leaf = root + target
            data_rva, size = struct.unpack_from("<II", self.data, leaf)
            at = self.offset(data_rva)
            return self.data[at : at + size].decode("utf-8", "replace")
        return None
