#!/usr/bin/python3
"""Rebuilds the compressed section of a .chm, uncompressed, into OUT: every
file 7-Zip lists, looked up by name with chmlib (Debian's p7zip-full and
python3-chm), at its place in the section. Prints "WINDOW_BITS RESET_FRAMES
COMPRESSED_BYTES" from the control data and the stored section.

    chm_section.py FILE.chm OUT
"""
import math
import struct
import subprocess
import sys

import chm.chm

STORAGE = b"::DataSpace/Storage/MSCompressed/"


def read(chm_file, unit):
    return chm_file.RetrieveObject(unit)[1]


def resolve(chm_file, name):
    status, unit = chm_file.ResolveObject(name)
    if status != 0:
        sys.exit(f"{name.decode()} not found")
    return unit


def main():
    path, out_path = sys.argv[1], sys.argv[2]
    chm_file = chm.chm.CHMFile()
    if not chm_file.LoadCHM(path):
        sys.exit(f"chmlib cannot open {path}")
    control = read(chm_file, resolve(chm_file, STORAGE + b"ControlData"))
    _, magic, version, reset, window = struct.unpack("<I4sIII", control[:20])
    if magic != b"LZXC" or version != 2:
        sys.exit(f"unexpected control data {magic} version {version}")
    compressed = resolve(chm_file, STORAGE + b"Content").length
    # chmlib's own enumeration misses files; 7-Zip's listing does not.
    listing = subprocess.run(["7z", "l", "-slt", path], capture_output=True, text=True,
                             check=True).stdout
    names = [line[7:] for line in listing.splitlines() if line.startswith("Path = ")][1:]
    section = bytearray()
    for name in names:
        status, unit = chm_file.ResolveObject(("/" + name).encode())
        if status != 0 or unit.space != 1 or unit.length == 0:
            continue
        end = unit.start + unit.length
        if len(section) < end:
            section.extend(bytes(end - len(section)))
        section[unit.start:end] = read(chm_file, unit)
    with open(out_path, "wb") as out:
        out.write(section)
    # Version 2 counts the window and the reset interval in 32 KiB frames.
    print(int(math.log2(window * 32768)), reset, compressed)


if __name__ == "__main__":
    main()
