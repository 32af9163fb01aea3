#!/usr/bin/env python3
"""Prints each section of a PE file: bytes used, bytes on disk and the room left before the file
grows by another block, then the file's size. Usage: stub_room.py FILE"""
import struct
import sys

data = open(sys.argv[1], "rb").read()
headers = struct.unpack_from("<I", data, 0x3C)[0]
count = struct.unpack_from("<H", data, headers + 6)[0]
optional = struct.unpack_from("<H", data, headers + 20)[0]
table = headers + 24 + optional
for i in range(count):
    name, used, _, on_disk = struct.unpack_from("<8sIII", data, table + 40 * i)
    room = on_disk - used if on_disk >= used else 0
    print("%-8s used %6d on disk %6d room %5d" % (name.rstrip(b"\0").decode(), used, on_disk, room))
print("file %d bytes" % len(data))
