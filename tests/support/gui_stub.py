#!/usr/bin/env python3
"""Makes a stub the packer takes from a console test program: gui_stub.py PROGRAM OUT.

The packer takes as stubs only GUI programs that end with their last section; a test program is
a console one so that it can print, and carries its symbols. The copy is marked GUI (Wine still
hands it the standard handles) and cut after its last section.
"""
import struct
import sys

image = bytearray(open(sys.argv[1], 'rb').read())
pe = struct.unpack_from('<I', image, 0x3C)[0]
struct.pack_into('<H', image, pe + 0x5C, 2)  # IMAGE_SUBSYSTEM_WINDOWS_GUI
struct.pack_into('<II', image, pe + 12, 0, 0)  # no symbol table
sections = struct.unpack_from('<H', image, pe + 6)[0]
optional = struct.unpack_from('<H', image, pe + 20)[0]
end = 0
for i in range(sections):
    size, offset = struct.unpack_from('<II', image, pe + 24 + optional + i * 40 + 16)
    end = max(end, offset + size)
open(sys.argv[2], 'wb').write(image[:end])
