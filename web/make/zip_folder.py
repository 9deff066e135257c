#!/usr/bin/env python3
"""Packs the page into the zip a teacher copies:

    zip_folder.py OUTPUT.zip PAGE-DIR FOLDER-NAME FILE...

FILEs, relative to PAGE-DIR, go into the zip under FOLDER-NAME/, in a
fixed order with a fixed date, so the same page always makes the same zip.
It prints the folder's size by part, which is to stay within 1 MiB.
"""

import os
import sys
import zipfile

PARTS = (
    ("core", lambda name: name.startswith("core/")),
    ("font", lambda name: name.startswith("fonts/")),
    ("cues", lambda name: name == "cues.js"),
    ("pictures", lambda name: name.endswith(".png")),
    ("code", lambda name: name.endswith((".js", ".css", ".html", ".webmanifest"))),
    ("licence", lambda name: True),
)


def size_by_part(page_dir, files):
    sizes = dict.fromkeys((part for part, _ in PARTS), 0)
    for name in files:
        part = next(part for part, belongs in PARTS if belongs(name))
        sizes[part] += os.path.getsize(os.path.join(page_dir, name))
    return sizes


def main():
    out, page_dir, folder = sys.argv[1:4]
    files = sorted(sys.argv[4:])
    with zipfile.ZipFile(out + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name in files:
            info = zipfile.ZipInfo("%s/%s" % (folder, name), date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(os.path.join(page_dir, name), "rb") as f:
                z.writestr(info, f.read())
    os.replace(out + ".part", out)
    sizes = size_by_part(page_dir, files)
    print("The page: %d KiB of 1024 (%s); the zip: %d KiB" % (
        sum(sizes.values()) // 1024, ", ".join("%s %d" % (p, s // 1024) for p, s in sizes.items()),
        os.path.getsize(out) // 1024))


if __name__ == "__main__":
    main()
