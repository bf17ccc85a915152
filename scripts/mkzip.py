#!/usr/bin/env python3
"""Writes a deflated zip archive with fixed time stamps, so that the same
inputs always give the same bytes.

    mkzip.py OUT.zip --dir FOLDER [--dir OTHER ...]   every file below each folder, relative names
    mkzip.py OUT.zip --file F [--file G ...]          the files under their base names

A name met twice is taken from its first place.
"""
import argparse
import os
import zipfile

STAMP = (2020, 1, 1, 0, 0, 0)


def add(zf, path, name, seen):
    name = name.replace(os.sep, "/")
    if name in seen:
        return
    seen.add(name)
    info = zipfile.ZipInfo(name, STAMP)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0x20  # archive bit, as Windows tools write it
    info.create_system = 0
    with open(path, "rb") as f:
        zf.writestr(info, f.read())


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--dir", action="append", default=[])
    ap.add_argument("--file", action="append", default=[])
    args = ap.parse_args()
    tmp = args.out + ".tmp"
    seen = set()
    with zipfile.ZipFile(tmp, "w") as zf:
        for folder in args.dir:
            for root, dirs, files in os.walk(folder):
                dirs.sort()
                for name in sorted(files):
                    full = os.path.join(root, name)
                    add(zf, full, os.path.relpath(full, folder), seen)
        for f in args.file:
            add(zf, f, os.path.basename(f), seen)
    os.replace(tmp, args.out)


if __name__ == "__main__":
    main()
