#!/usr/bin/env python3
"""Checks the shipped recharge.exe as Windows will see it.

Usage: check-exe.py RECHARGE.EXE [OBJDUMP]

A 32-bit x86 GUI program that imports only system DLLs (never SHELL32.dll, which the program
binds by name when it first opens an address), carrying its manifest, its DEFAULT_ICON in three
16-colour sizes and its version block. Prints the file's size. The headers are read with
objdump -p; the resources are read here, since objdump does not show their contents.
"""

import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "oleaut32.dll",
               "advapi32.dll", "comctl32.dll", "msvcrt.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ASM = "{urn:schemas-microsoft-com:asm.v1}"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


class Image:
    """Just enough of a PE file: its sections and its resource tree."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data,
                                                                               pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, rva, rawsize, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), rva, max(vsize, rawsize), raw))

    def at(self, rva):
        for _, start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("address %#x lies in no section" % rva)

    def resources(self):
        """{(type, name): [data of each language]}, ids as ints and names as strings."""
        found = {}
        if not self.resource_rva:
            return found
        base = self.at(self.resource_rva)

        def entries(offset):
            named, ids = struct.unpack_from("<HH", self.data, base + offset + 12)
            for i in range(named + ids):
                key, value = struct.unpack_from("<II", self.data, base + offset + 16 + 8 * i)
                if key & 0x80000000:
                    at = base + (key & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield key, value

        for kind, names in entries(0):
            for name, languages in entries(names & 0x7FFFFFFF):
                for _, leaf in entries(languages & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.at(rva)
                    found.setdefault((kind, name), []).append(self.data[start:start + size])
        return found


def check_headers(path, objdump):
    dump = subprocess.run([objdump, "-p", path], check=True, capture_output=True,
                          text=True).stdout
    check("file format pei-i386" in dump, "objdump does not see a pei-i386 file")
    check(re.search(r"^Magic\s+010b\s+\(PE32\)", dump, re.M), "not PE32")
    check(re.search(r"^Subsystem\s+00000002\s+\(Windows GUI\)", dump, re.M),
          "subsystem is not Windows GUI")
    dlls = re.findall(r"DLL Name: (\S+)", dump)
    check(dlls, "no imports found")
    for dll in dlls:
        if dll.lower() == "shell32.dll":
            check(False, "imports SHELL32.dll, which the program must bind only when it needs it")
        else:
            check(dll.lower() in SYSTEM_DLLS, "imports %s, not a system DLL" % dll)
    print("imports:", " ".join(dlls))


def check_manifest(text):
    try:
        root = ET.fromstring(text)
    except ET.ParseError as e:
        check(False, "the manifest is no XML: %s" % e)
        return
    check(root.tag == ASM + "assembly", "the manifest's root is not an assembly")
    check(root.find(ASM + "assemblyIdentity") is not None, "the manifest names no assembly")
    wanted = {"type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
              "processorArchitecture": "x86", "publicKeyToken": "6595b64144ccf1df",
              "language": "*"}
    dependencies = [e.attrib for e in root.iter(ASM + "assemblyIdentity")
                    if e.get("name") == wanted["name"]]
    check(dependencies == [wanted], "common controls dependency is %s" % dependencies)
    check("dpiaware" not in text.lower(), "the manifest declares DPI awareness")
    check("requestedexecutionlevel" not in text.lower() and "trustinfo" not in text.lower(),
          "the manifest requests an execution level")


def check_icon(resources):
    groups = resources.get((RT_GROUP_ICON, "DEFAULT_ICON"))
    if not check(groups, "no icon group DEFAULT_ICON"):
        return
    group = groups[0]
    _, kind, count = struct.unpack_from("<HHH", group, 0)
    check(kind == 1, "DEFAULT_ICON is not an icon group")
    sizes = []
    for i in range(count):
        width, height, colours, _, _, bits, size, ident = struct.unpack_from("<BBBBHHIH", group,
                                                                              6 + 14 * i)
        width, height = width or 256, height or 256
        sizes.append(width)
        image = resources.get((RT_ICON, ident))
        if not check(image, "icon image %d is missing" % ident):
            continue
        image = image[0]
        check(len(image) == size, "icon image %d has %d bytes, not %d" % (ident, len(image), size))
        header, w, h, _, bitcount = struct.unpack_from("<IiiHH", image, 0)
        check(header == 40 and (w, h) == (width, 2 * height),
              "icon image %d is not a %dx%d bitmap with mask" % (ident, width, height))
        check(bitcount == 4 and bits == 4 and colours == 16,
              "icon image %d is not 16 colours" % ident)
        xor = (w * 4 + 31) // 32 * 4 * height
        mask = (w + 31) // 32 * 4 * height
        check(len(image) == 40 + 16 * 4 + xor + mask,
              "icon image %d is not palette, colour bitmap and AND mask" % ident)
    check(sorted(sizes) == [16, 32, 48], "DEFAULT_ICON has the sizes %s" % sorted(sizes))


def check_version(resources):
    blocks = resources.get((RT_VERSION, 1))
    if not check(blocks, "no version block"):
        return
    block = blocks[0]
    at = block.find(struct.pack("<I", 0xFEEF04BD))
    if not check(at >= 0, "the version block has no fixed part"):
        return
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", block, at + 8)
    check((file_ms, file_ls) == (0x10000, 0), "the file version is not 1.0.0.0")
    check((product_ms, product_ls) == (0x10000, 0), "the product version is not 1.0.0.0")
    for key in ("FileDescription", "ProductName"):
        check(key.encode("utf-16-le") in block, "the version block has no %s" % key)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit("usage: check-exe.py RECHARGE.EXE [OBJDUMP]")
    path = sys.argv[1]
    objdump = sys.argv[2] if len(sys.argv) == 3 else "i686-w64-mingw32-objdump"
    with open(path, "rb") as f:
        data = f.read()
    print("%s: %d bytes" % (os.path.basename(path), len(data)))
    check_headers(path, objdump)

    image = Image(data)
    check(image.machine == 0x14C and image.magic == 0x10B, "not a PE32 file for i386")
    check(image.subsystem == 2, "subsystem %d, not Windows GUI" % image.subsystem)
    resources = image.resources()
    manifests = resources.get((RT_MANIFEST, 1))
    if check(manifests and len(manifests) == 1, "not exactly one manifest with id 1"):
        check_manifest(manifests[0].decode("utf-8"))
    check_icon(resources)
    check_version(resources)

    for message in failures:
        print("FAIL:", message)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
