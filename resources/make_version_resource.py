#!/usr/bin/env python3
"""Writes the stub's VS_VERSIONINFO block as raw resource data.

The packer rewrites this block for each vendor's setup (product name, company, description,
file version), so every string is sized to its text.
"""
import struct
import sys

def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def utf16z(text):
    return text.encode("utf-16-le") + b"\0\0"


def node(key, value, value_length, value_type, children=b""):
    """One version block: header, key, value and children, each part 32-bit aligned."""
    body = pad4(struct.pack("<HHH", 0, value_length, value_type) + utf16z(key))
    body = pad4(body + value) + children
    return struct.pack("<H", len(body)) + body[2:]


def string_node(key, text):
    value = text.encode("utf-16-le") + b"\0\0"
    return pad4(node(key, value, len(value) // 2, 1))


def main():
    out, product_name, version = sys.argv[1], sys.argv[2], sys.argv[3]
    parts = [int(p) for p in (version.split(".") + ["0"] * 4)[:4]]
    ms, ls = (parts[0] << 16) | parts[1], (parts[2] << 16) | parts[3]
    fixed = struct.pack("<13I", 0xFEEF04BD, 0x00010000, ms, ls, ms, ls, 0x3F, 0, 0x40004, 1, 0, 0, 0)
    strings = b"".join([
        string_node("FileDescription", "Setup"),
        string_node("FileVersion", version),
        string_node("ProductName", product_name),
        string_node("ProductVersion", version),
    ])
    table = pad4(node("040904b0", b"", 0, 1, strings))
    string_info = pad4(node("StringFileInfo", b"", 0, 1, table))
    translation = pad4(node("Translation", struct.pack("<HH", 0x0409, 1200), 4, 0))
    var_info = pad4(node("VarFileInfo", b"", 0, 1, translation))
    root = node("VS_VERSION_INFO", fixed, len(fixed), 0, string_info + var_info)
    with open(out, "wb") as f:
        f.write(root)


if __name__ == "__main__":
    main()
