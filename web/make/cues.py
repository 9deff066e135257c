#!/usr/bin/env python3
"""Embeds the cues in a classic script, since a page opened from a folder
(file://) may not fetch files:

    cues.py OUTPUT.js CUE.wav...

The script sets `torvikanCues`: each cue's file name and its WAV file in
base64, for the page to decode ahead with Web Audio.
"""

import base64
import json
import os
import sys


def main():
    out, cues = sys.argv[1], sys.argv[2:]
    embedded = {}
    for path in cues:
        with open(path, "rb") as f:
            embedded[os.path.basename(path)] = base64.b64encode(f.read()).decode("ascii")
    with open(out, "w", encoding="ascii") as f:
        f.write("var torvikanCues = %s;\n" % json.dumps(embedded, indent=0))


if __name__ == "__main__":
    main()
