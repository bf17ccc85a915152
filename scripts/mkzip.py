#!/usr/bin/env python3
"""Writes a deflated zip archive with fixed time stamps, so that the same
inputs always give the same bytes.

    mkzip.py OUT.zip --dir FOLDER      every file below FOLDER, relative names
    mkzip.py OUT.zip --file F [--file G ...]   the files under their base names
"""
import argparse
import os
import zipfile

STAMP = (2020, 1, 1, 0, 0, 0)


def add(zf, path, name):
    info = zipfile.ZipInfo(name.replace(os.sep, "/"), STAMP)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0x20  # archive bit, as Windows tools write it
    info.create_system = 0
    with open(path, "rb") as f:
        zf.writestr(info, f.read())


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--dir")
    ap.add_argument("--file", action="append", default=[])
    args = ap.parse_args()
    tmp = args.out + ".tmp"
    with zipfile.ZipFile(tmp, "w") as zf:
        if args.dir:
            for root, dirs, files in os.walk(args.dir):
                dirs.sort()
                for name in sorted(files):
                    full = os.path.join(root, name)
                    add(zf, full, os.path.relpath(full, args.dir))
        for f in args.file:
            add(zf, f, os.path.basename(f))
    os.replace(tmp, args.out)


if __name__ == "__main__":
    main()
