#!/usr/bin/env python3
"""Completes the page's service worker with what it must cache:

    service_worker.py TEMPLATE.js PAGE-DIR VERSION OUTPUT.js FILE...

FILEs are the page's files, relative to PAGE-DIR. The cache is named after
the release and a digest of every file, so a new release, or a rebuilt
page that differs in any byte, replaces the cache a browser holds.
"""

import hashlib
import json
import os
import sys


def main():
    template, page_dir, version, out = sys.argv[1:5]
    files = sorted(sys.argv[5:])
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode("utf-8") + b"\0")
        with open(os.path.join(page_dir, name), "rb") as f:
            digest.update(f.read())
    with open(template, encoding="utf-8") as f:
        text = f.read()
    release = "%s-%s" % (version, digest.hexdigest()[:16])
    # "./" is the folder's own address, which a server answers with index.html.
    text = text.replace("@RELEASE@", release).replace('"@FILES@"', json.dumps(["./"] + files))
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
