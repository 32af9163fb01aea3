#!/usr/bin/env python3
"""Damages or moves a packed setup in the ways the end-to-end tests need.

  patch_setup.py version <file> <n>        set the footer's version
  patch_setup.py unsign <file>             overwrite the signature with other bytes
  patch_setup.py hostile-name <file>       rename the first entry to ..\\<name>
  patch_setup.py rename-last <file> <name> rename the last entry (a name of the same length)
  patch_setup.py move <file> <d>           insert d bytes in front of the archive
  patch_setup.py hide <signed> <other>     put the archive of setup <other> at the end of the
                                           signed setup's certificate table, growing the
                                           table and its directory entry to cover it
  patch_setup.py tail <file> <n>           append n bytes after the footer
  patch_setup.py blank-product-name <file> empty the version resource's ProductName
  patch_setup.py damage-language <file> <id> records|offsets
                                           damage the language table of language <id>: a
                                           count of texts whose records run past its end,
                                           or every text's offset pointing outside it
"""
import struct
import sys

FOOTER = 36
MAGIC = b"TESSARASFX"


def hide(path, other_path):
    data = bytearray(open(path, "rb").read())
    other = open(other_path, "rb").read()
    at = other.rfind(MAGIC) - 24
    data_off = struct.unpack_from("<I", other, at + 16)[0]
    archive = other[data_off:]
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directory = optional + (96 if magic == 0x10B else 112) + 4 * 8
    table_at, table_size = struct.unpack_from("<II", data, directory)
    if table_at == 0 or table_at + table_size != len(data):
        raise SystemExit("no certificate table at the end of " + path)
    archive += b"\0" * (-len(archive) % 8)  # the table keeps its 8-byte alignment
    struct.pack_into("<I", data, directory + 4, table_size + len(archive))
    # The table's first WIN_CERTIFICATE grows over the archive too.
    length = struct.unpack_from("<I", data, table_at)[0]
    struct.pack_into("<I", data, table_at, length + len(archive))
    open(path, "wb").write(data + archive)


def main():
    op, path = sys.argv[1], sys.argv[2]
    if op == "hide":
        hide(path, sys.argv[3])
        return
    data = bytearray(open(path, "rb").read())
    at = data.rfind(MAGIC) - 24
    count, version, footer_off, table_off, data_off, flags = struct.unpack_from("<6I", data, at)
    if op == "version":
        struct.pack_into("<I", data, at + 4, int(sys.argv[3]))
    elif op == "unsign":
        data[at + 24:at + 34] = b"NOTANSFX!!"
    elif op == "hostile-name":
        # Same length, so the table stays in place: the first name becomes "..\" + its tail.
        name_at = table_off + (at - footer_off) + 16
        data[name_at:name_at + 3] = b"..\\"
    elif op == "rename-last":
        # Walks the table to the last entry and overwrites its name in place.
        at_table = table_off + (at - footer_off)
        for _ in range(count):
            name_len = struct.unpack_from("<I", data, at_table + 12)[0]
            name_at = at_table + 16
            at_table = name_at + name_len
        new = sys.argv[3].encode("latin-1")
        if len(new) != name_len:
            raise SystemExit("the new name must have %d bytes" % name_len)
        data[name_at:name_at + name_len] = new
    elif op == "move":
        d = int(sys.argv[3])
        data[data_off:data_off] = b"\0" * d
    elif op == "tail":
        data += b"T" * int(sys.argv[3])
    elif op == "damage-language":
        at_table = table_off + (at - footer_off)
        for _ in range(count):
            kind, size, offset, name_len = struct.unpack_from("<4I", data, at_table)
            name = bytes(data[at_table + 16:at_table + 16 + name_len])
            at_table += 16 + name_len
            if kind == 5 and name == b"language-%s.table" % sys.argv[3].encode():
                break
        else:
            raise SystemExit("no table of language " + sys.argv[3])
        start = offset + (at - footer_off)
        texts = struct.unpack_from("<H", data, start + 10)[0]
        if sys.argv[4] == "records":
            struct.pack_into("<H", data, start + 10, 0xFFFF)
        else:
            for i in range(texts):
                struct.pack_into("<I", data, start + 12 + 8 * i + 4, 0xFFFFFF00)
    elif op == "blank-product-name":
        key = "ProductName".encode("utf-16-le") + b"\0\0"
        value = data.find(key)
        if value < 0:
            raise SystemExit("no ProductName in " + path)
        value += len(key)
        value += -value % 4  # the value is 32-bit aligned
        data[value:value + 2] = b"\0\0"
    else:
        raise SystemExit("unknown operation " + op)
    open(path, "wb").write(data)


if __name__ == "__main__":
    main()
