#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into tests/fuzz/corpus/<target>/.

The seeds are small, valid inputs of each kind; the fuzzer mutates them. Inputs of past
findings are added beside them by hand (named finding-*), except the stubs of the packer's
findings, which are made here from the 32-bit stub (make_seeds.py [STUB]; by default the one of
build/windows) by rewriting the fields each finding names.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
MAGIC = b"TESSARASFX"


def archive(entries, stub, flags=0, version=100, tail=b""):
    out = bytearray(stub)
    headers = []
    for kind, name, data in entries:
        headers.append((kind, len(data), len(out), name))
        out += data
    table = len(out)
    for kind, size, offset, name in headers:
        out += struct.pack("<4I", kind, size, offset, len(name)) + name
    footer = len(out)
    out += struct.pack("<6I", len(entries), version, footer, table, len(stub), flags)
    out += MAGIC + b"\0\0"
    return bytes(out + tail)


def pe_stub(size, cert_at=0, cert_size=0):
    stub = bytearray(b"S" * size)
    stub[0:2] = b"MZ"
    struct.pack_into("<I", stub, 0x3C, 0x80)
    stub[0x80:0x84] = b"PE\0\0"
    optional = 0x80 + 24
    struct.pack_into("<H", stub, optional, 0x10B)
    struct.pack_into("<I", stub, optional + 92, 16)
    struct.pack_into("<II", stub, optional + 96 + 32, cert_at, cert_size)
    return stub


INI = (b"[PREREQUISITES]\r\nApp1=Runtime Library\r\nApp2=Tool\r\n"
       b"[App1]\r\nSetupFile=rt.exe\r\nSearchType=1\r\n"
       b"SearchString=HKLM\\SOFTWARE\\Example Vendor\\Runtime Library\r\nVerMin=1.4\r\nVerMax=1.5\r\n"
       b"Options=m\r\n"
       b"[App2]\r\nUrl=http://example.test/tools/tool-setup.exe\r\nExactSize=1,048,576\r\n"
       b"SearchType=0\r\nSearchString=[ProgramFilesFolder]Vendor\\tool.exe?2\r\nTargetOS=1\r\n"
       b"Sha256=" + b"ab" * 32 + b"\r\nCommandLine=/quiet\r\n"
       b"[GeneralOptions]\r\nMainAppCmdLine=/qb\r\nOptions=q\r\n")

INI_VALUE = (b"[PREREQUISITES]\nApp1=\"Quoted\"\n[App1]\nSetupFile=a.exe\nSearchType=2\n"
             b"SearchString=HKCU\\Software\\X\\Version\nVerMin=abc\nTargetOS=abc\n"
             b"[app1]\nUnknown=1\nnoequals\n; comment\n[App3]\nSetupFile=c\n")


def language_table(language, neutral, flags, texts):
    """A language table as the packer writes it (archive/language_table.h)."""
    head = struct.pack("<IHHHH", 0x474E4C54, language, neutral, flags, len(texts))
    offset = len(head) + 8 * len(texts)
    records, body = b"", b""
    for key, text in texts:
        records += struct.pack("<II", key, offset + len(body))
        body += text.encode() + b"\0"
    return head + records + body


def seeds():
    setup_entries = [(0, b"app.msi", b"M" * 40), (1, b"app.cab", b"C" * 20),
                     (3, b"app.ini", INI), (4, b"rt.exe", b"R" * 10)]
    plain = archive(setup_entries, b"S" * 2100, flags=2)
    foreign = archive([(0, b"evil.msi", b"E" * 8)], b"", flags=0)
    signed_own = archive([(0, b"own.msi", b"O" * 8)], pe_stub(2100))
    cert_at = len(signed_own)
    cert = struct.pack("<IHH", 8 + 64 + len(foreign), 0x200, 2) + b"\x30" * 64 + foreign
    signed = bytearray(signed_own + cert)
    struct.pack_into("<II", signed, 0x80 + 24 + 96 + 32, cert_at, len(cert))
    yield "archive", "setup", plain
    yield "archive", "signed", bytes(signed)
    yield "archive", "external", archive([], b"S" * 2100, flags=1)
    yield "archive", "version101", archive([(2, b"f.txt", b"f")], b"S" * 2100, version=101)

    utf16 = b"\xFF\xFE" + INI.decode("latin-1").encode("utf-16-le")
    for target in ("profile", "config_check"):
        yield target, "full", INI
        yield target, "values", INI_VALUE
        yield target, "utf16", utf16
        yield target, "utf8", b"\xEF\xBB\xBF" + INI_VALUE.replace(b"Quoted", "R\u00e9sum\u00e9".encode())
        yield target, "general", b"[GeneralOptions]\nMainAppCmdLine=\"/qb ALL=1\"\n"

    yield "version", "range", b"\x00" + b"1.4\n1.5\n1.4.2_08"
    yield "version", "wide", b"\x01" + b"\x83\x31 2.5\n4294967295.2147483648.0.1\nv10,20"

    yield "search_string", "file", b"\x00[ProgramFilesFolder]Vendor\\app.exe?2"
    yield "search_string", "tokens", b"\x00[SystemFolder][WindowsVolume]x\\[Bad]\\y.dll"
    yield "search_string", "registry", b"\x01HKLM\\SOFTWARE\\Example Vendor\\Runtime"
    yield "search_string", "value", b"\x02HKLM\\SOFTWARE\\Example\\Version"
    yield "search_string", "expected", b"\x01HKCU\\Software\\X\\\\Val\\1.0\\"

    yield "command_line", "glued-log", b'/l*v"C:\\my logs\\setup.log" /qn'
    yield "command_line", "quoted", b'PROP="a \\" /qn" "/qb" /log x.log /passive \\\\"a b\\\\" /extract:"C:\\o\\"'
    yield "command_line", "pieces", bytes([7, 0, 3, 65, 66, 67, 1, 9, 92, 32, 58, 92, 92, 3, 4, 32, 32, 2, 5, 0, 3])

    texts = [(0x1031, "Installieren"), (0x1040, "Erforderlich: {required}. Gefunden: {found}"),
             ((206 << 16) | 1021, "Informationen"), (0x1060, "{\\rtf1 x\\par}")]
    table = language_table(1031, 7, 0, texts)
    yield "language", "table", table
    yield "language", "table-rtl", language_table(1025, 1, 1, [(0x1001, "\u0625\u0639\u062f\u0627\u062f {product}")])
    yield "language", "table-records", table[:10] + b"\xff\xff" + table[12:]
    yield "language", "table-offsets", table[:16] + b"\x00\xff\xff\xff" + table[20:]
    yield "language", "file", ("[Language]\nId = 0x0407\nNeutral = 7\n[Texts]\n"
                               "Status.Between = zwischen {min} und {max}\n"
                               "Wizard.Next = &Weiter >\nPrerequisitesPage.Browse = \" &Suchen \"\n"
                               "[Document]\n# Titel\n\n- **fett** \u2013 \U0001F600\n").encode()
    shipped = os.path.join(HERE, "..", "..", "languages")
    for name in sorted(os.listdir(shipped)):
        yield "language", "file-" + name[:-5], open(os.path.join(shipped, name), "rb").read()

    yield "url_name", "plain", b"http://example.test/dir/setup.exe"
    yield "url_name", "query", b"https://example.test/get?file=a.exe"
    yield "url_name", "backslash", b"http://example.test/a\\b\\c.msi"
    yield "url_name", "device", b"http://example.test/con.exe"

    def resume(flags, length, ranged_length, status, chunk, existing, location, body,
               fail_at=None, expected=None):
        out = bytes([flags])
        if fail_at is not None:
            out += bytes([fail_at])
        out += struct.pack(">5I", length, ranged_length, status, chunk, existing)
        if expected is not None:
            out += struct.pack(">I", expected)
        return out + location + b"\n" + body

    # Partial file of 100 bytes, a server that answers the Range request with the rest.
    yield "download_resume", "honest", resume(0x2D, 300, 200, 206, 4095, 100, b"", b"b" * 200)
    # ... with more than the rest: the whole length is wrong.
    yield "download_resume", "lying", resume(0x2D, 300, 300, 206, 63, 100, b"", b"b" * 300)
    # A redirect answered with itself, round in circles.
    yield "download_resume", "redirect", resume(0x2F, 64, 0, 302, 16, 10,
                                                b"http://127.0.0.1/dir/download.bin", b"s" * 64)
    yield "download_resume", "fresh", resume(0x41, 50, 0, 200, 7, 0, b"", b"f" * 50, fail_at=3)
    yield "download_resume", "size", resume(0x81, 50, 0, 200, 7, 0, b"", b"f" * 50, expected=49)


def u16(b, at):
    return struct.unpack_from("<H", b, at)[0]


def u32(b, at):
    return struct.unpack_from("<I", b, at)[0]


def stub_seeds(real):
    """The stub with only its resources and relocations in the file (the packer reads no more),
    and the packer's findings made from it; each seed starts with the fuzz target's option byte
    (1: --product-name)."""
    pe = u32(real, 0x3C)
    opt = pe + 24
    table = opt + u16(real, pe + 20)
    heads = {bytes(real[h:h + 8]).rstrip(b"\0"): h - pe for h in
             (table + 40 * i for i in range(u16(real, pe + 6)))}

    def raw(name):
        size, at = struct.unpack_from("<II", real, pe + heads[name] + 16)
        return real[at:at + size]

    def pad(b):
        return b + bytes(-len(b) % 0x200)

    def lay(rsrc, early=False, reloc=True):
        # Headers, .rsrc, .reloc; early: .rsrc at 0x200, the headers 4 KiB after it.
        rsrc = pad(rsrc)
        head = real[pe:table + 40 * len(heads)]
        if early:
            out = bytearray(pad(real[:0x40])) + rsrc + bytes(0x1000)
            at = len(out)
            out += head
        else:
            out = bytearray(real[:0x400])
            at = pe
        out = bytearray(pad(out))
        struct.pack_into("<I", out, 0x3C, at)
        for name, h in heads.items():
            struct.pack_into("<II", out, at + h + 16, 0, 0)
        struct.pack_into("<III", out, at + heads[b".rsrc"] + 12, u32(real, pe + heads[b".rsrc"] + 12),
                         len(rsrc), 0x200 if early else len(out))
        if not early:
            out += rsrc
        if reloc:
            struct.pack_into("<II", out, at + heads[b".reloc"] + 16, len(pad(raw(b".reloc"))), len(out))
            out += pad(raw(b".reloc"))
        return out, at

    small, at = lay(raw(b".rsrc"))
    yield "stub", "plain", b"\0" + small
    yield "stub", "face", b"\x0F" + small
    early, _ = lay(raw(b".rsrc"), early=True)
    yield "stub", "finding-pe-resource-data-before-headers", b"\1" + early
    for name, alignment in (("wraps", 0xFFFFFF00), ("2gib", 0x80000000)):
        out = bytearray(small)
        struct.pack_into("<I", out, at + 24 + 36, alignment)
        yield "stub", "finding-pe-file-alignment-" + name, b"\1" + out
    # 6000 types share one item directory of 6000 items, which share one empty language
    # directory: 36 million items from 96 KB.
    n = 6000
    tree = struct.pack("<12xHH", 0, n) + b"".join(
        struct.pack("<II", i + 1, 0x80000000 | (16 + 8 * n)) for i in range(n))
    tree += struct.pack("<12xHH", 0, n) + b"".join(
        struct.pack("<II", i + 1, 0x80000000 | (32 + 16 * n)) for i in range(n))
    tree += struct.pack("<12xHH", 0, 0)
    yield "stub", "finding-pe-resource-tree-expands", b"\0" + lay(tree)[0]
    # 8000 named types share one name of 30000 characters: 240 million characters read.
    n, length = 8000, 30000
    tree = struct.pack("<12xHH", n, 0) + struct.pack("<II", 0x80000000 | (16 + 8 * n), 0x80000000) * n
    tree += struct.pack("<H", length) + b"A\0" * length
    yield "stub", "finding-pe-resource-names-shared", b"\0" + lay(tree)[0]
    # No raw data after the resources: a certificate table named inside the headers passes for
    # one after the sections.
    cut, at = lay(raw(b".rsrc"), early=True, reloc=False)
    for name, offset in (("cuts-headers", table - pe + 40), ("writes-past-end", 4)):
        out = bytearray(cut)
        struct.pack_into("<II", out, at + 24 + 96 + 4 * 8, at + offset, 64)
        yield "stub", "finding-pe-drop-signature-" + name, b"\0" + out


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        HERE, "..", "..", "build", "windows", "app", "tessara-stub.exe")
    if os.path.exists(path):
        for target, name, data in stub_seeds(open(path, "rb").read()):
            folder = os.path.join(HERE, "corpus", target)
            os.makedirs(folder, exist_ok=True)
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
    else:
        print("no stub at %s: the stub's seeds are left as they are" % path)
    for target, name, data in seeds():
        folder = os.path.join(HERE, "corpus", target)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
