#!/usr/bin/env python3
"""Makes the page's Japanese face: a renamed subset of IPAPGothic.

    face.py FONT.ttf LICENCE-SOURCE OUTPUT-DIR METRICS.json CORE-TEXTS.json WORDS.json
            lettering.h torvikan.css main_window.ui help_window.ui

writes to OUTPUT-DIR:
    torvikan-gothic.woff2         every glyph the page shows and nothing else
    torvikan-gothic-narrow.woff2  the read-outs' characters, narrowed as the
                                  window narrows its read-out boxes' font
    torvikan-gothic-help.woff2    the help's characters, narrowed as far as
                                  its widest line needs to fit the help box
    LICENSE.txt                   what the fonts are, how to put the original
                                  back, and the IPA Font License Agreement
and to METRICS.json the face's ascent and descent in font units per em,
from which the page places text on whole pixels as the window does.

The IPA Font License forbids a derived font to use the original's name as
its program, font or file name, so both faces are renamed ("Torvikan
Gothic"); the licence comes with them, as it requires.  FONT must be the
face the windows stand in for theirs first (lesson/lettering.h).  Needs
Debian's python3-fonttools and the woff2 tools.
"""

import json
import os
import subprocess
import sys
import tempfile

from fontTools import subset
from fontTools.ttLib import TTFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import forms  # noqa: E402
import lettering  # noqa: E402

FAMILY = "Torvikan Gothic"
NARROW_FAMILY = "Torvikan Gothic Narrow"
HELP_FAMILY = "Torvikan Gothic Help"

# What a pupil may type into a box besides what the page writes: ASCII, and
# the full-width digits and signs a Japanese input method gives.
TYPED = "".join(chr(c) for c in range(0x20, 0x7F)) + "０１２３４５６７８９．－＋ｅＥ\u3000"

# The read-outs show "#0.000".
READOUT_CHARACTERS = "0123456789-. "


def check_face(font_path, facts):
    """The page's face must be the one the windows fall back on first."""
    family = TTFont(font_path)["name"].getDebugName(1)
    wanted = lettering.fact(facts, "japaneseSubstitutes")[0]
    if family != wanted:
        raise SystemExit("%s is %s; the windows stand in %s for %s (lesson/lettering.h)"
                         % (font_path, family, wanted, lettering.fact(facts, "japaneseFace")))
    return family


def page_texts(core_texts, words_path, facts, main_ui, help_ui):
    with open(words_path, encoding="utf-8") as f:
        words = list(json.load(f).values())
    shown = forms.texts_shown(forms.read_form(main_ui, facts)) + forms.texts_shown(forms.read_form(help_ui, facts))
    return "".join(core_texts["helpLines"] + core_texts["others"] + words + shown) + TYPED


def subset_of(font_path, text):
    options = subset.Options()
    # The page sets horizontal text only, and browsers hint for themselves.
    options.layout_features = []
    options.hinting = False
    options.desubroutinize = True
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    # The original's dates, so that the same font always makes the same page.
    font = TTFont(font_path, recalcTimestamp=False)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    return font


def rename(font, family, description):
    """Replaces every name that carries the original's name."""
    table = font["name"]
    version = table.getDebugName(5)
    copyright_notice = table.getDebugName(0)
    licence = table.getDebugName(13)
    licence_url = table.getDebugName(14)
    table.names = []
    postscript = family.replace(" ", "") + "-Regular"
    for name_id, value in (
        (0, copyright_notice),
        (1, family),
        (2, "Regular"),
        (3, "%s %s" % (postscript, version)),
        (4, family),
        (5, version),
        (6, postscript),
        (10, description),
        (13, licence),
        (14, licence_url),
    ):
        table.setName(value, name_id, 3, 1, 0x409)
    font["post"].formatType = 3.0  # no glyph names: they add bytes and nothing the page uses


def narrow(font, texts, room_px, size_px, whole_pixels=False):
    """Narrows every glyph horizontally, as Qt narrows a face without a
    narrow width of its own, by the whole percentage that fits the widest
    of `texts` into `room_px` at `size_px`, or less.  With `whole_pixels`,
    the texts also fit where each glyph's advance is rounded to a whole
    pixel at `size_px`, as WebKitGTK lays text out: there a line of forty
    glyphs can be several pixels wider than the sum of their advances."""
    cmap = font.getBestCmap()
    hmtx = font["hmtx"]
    upm = font["head"].unitsPerEm
    natural = max(sum(hmtx[cmap[ord(c)]][0] for c in text) for text in texts) * size_px / upm
    percent = min(100, int(100 * room_px / natural))

    def rounded_width(text, percent):
        return sum(int(round(hmtx[cmap[ord(c)]][0] * percent / 100) * size_px / upm + 0.5) for c in text)

    while whole_pixels and percent > 1 and max(rounded_width(text, percent) for text in texts) > room_px:
        percent -= 1
    factor = percent / 100
    glyf = font["glyf"]
    for name in font.getGlyphOrder():
        glyph = glyf[name]
        if glyph.numberOfContours > 0:
            glyph.coordinates.scale((factor, 1))
            glyph.recalcBounds(glyf)
        advance, lsb = hmtx[name]
        hmtx[name] = (round(advance * factor), getattr(glyph, "xMin", round(lsb * factor)))
    font["hhea"].advanceWidthMax = max(a for a, _ in hmtx.metrics.values())
    return factor


def write_woff2(font, path):
    with tempfile.TemporaryDirectory() as tmp:
        ttf = os.path.join(tmp, os.path.basename(path)[: -len(".woff2")] + ".ttf")
        font.save(ttf)
        done = subprocess.run(["woff2_compress", ttf], capture_output=True, text=True)
        if done.returncode != 0:
            raise SystemExit("woff2_compress failed on %s:\n%s" % (ttf, done.stdout + done.stderr))
        os.replace(ttf[: -len(".ttf")] + ".woff2", path)


def ipa_licence(copyright_path):
    """The IPA Font License Agreement, both languages, from the font
    package's copyright file."""
    lines, inside = [], False
    with open(copyright_path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("License: "):
                inside = line.strip() == "License: IPA-1"
                continue
            if not line.startswith(" "):
                inside = False
            elif inside:
                lines.append("" if line.strip() == "." else line[1:].rstrip())
    if not lines:
        raise SystemExit("%s holds no IPA Font License" % copyright_path)
    return "\n".join(lines) + "\n"


NOTICE = """\
The three fonts in this folder, {regular} ("{family}"),
{narrow_file} ("{narrow_family}") and
{help_file} ("{help_family}"), are derived
programs of {original} (file {original_file}, {version}) by the
Information-technology Promotion Agency, Japan (IPA), under the IPA Font
License Agreement v1.0, which follows.

How they were made: fontTools kept only the glyphs that Torvikan's page
shows, without hinting, layout tables or glyph names, and renamed the
font, as the licence requires of a derived program; for the narrow face
it also narrowed every glyph to {percent} % of its width, and for the
help's face to {help_percent} %. woff2_compress then compressed each. No
other file was made on the way: each WOFF2 file decompresses to the whole
derived program.

To use the original font instead: get IPAfont00303.zip from
https://moji.or.jp/ipafont/ (or Debian's package fonts-ipafont-gothic,
file /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf), copy ipagp.ttf
into this folder, and in ../torvikan.css change each
url("fonts/....woff2") format("woff2") to
url("fonts/ipagp.ttf") format("truetype").

"""


def main():
    (font_path, copyright_path, out_dir, metrics_path, core_texts_path, words,
     lettering_h, css, main_ui, help_ui) = sys.argv[1:11]
    facts = lettering.read(lettering_h)
    original = check_face(font_path, facts)
    os.makedirs(out_dir, exist_ok=True)
    description = "A subset of a font made for Torvikan's web page, under the IPA Font License Agreement v1.0."

    with open(core_texts_path, encoding="utf-8") as f:
        core_texts = json.load(f)
    regular = subset_of(font_path, page_texts(core_texts, words, facts, main_ui, help_ui))
    version = regular["name"].getDebugName(5)
    rename(regular, FAMILY, description)
    write_woff2(regular, os.path.join(out_dir, "torvikan-gothic.woff2"))
    with open(metrics_path, "w", encoding="utf-8") as f:
        hhea = regular["hhea"]
        json.dump({"ascent": hhea.ascent, "descent": -hhea.descent, "unitsPerEm": regular["head"].unitsPerEm}, f)
        f.write("\n")

    readout = next(c for c in forms.read_form(main_ui, facts)["controls"] if c["name"] == "mouseX")
    narrowed = subset_of(font_path, READOUT_CHARACTERS)
    room = lettering.readout_room(facts, css, readout["rect"][2])
    factor = narrow(narrowed, [lettering.fact(facts, "widestReadout")], room, readout["font"]["px"])
    rename(narrowed, NARROW_FAMILY, description)
    write_woff2(narrowed, os.path.join(out_dir, "torvikan-gothic-narrow.woff2"))

    # The help prints its lines from the left edge of the box's interior,
    # as the window does; one face serves the three engines.
    box = next(c for c in forms.read_form(help_ui, facts)["controls"] if c["name"] == "helpBox")
    help_lines = core_texts["helpLines"]
    help_face = subset_of(font_path, "".join(help_lines))
    help_factor = narrow(help_face, help_lines, box["interior"][2], box["font"]["px"], whole_pixels=True)
    rename(help_face, HELP_FAMILY, description)
    write_woff2(help_face, os.path.join(out_dir, "torvikan-gothic-help.woff2"))

    with open(os.path.join(out_dir, "LICENSE.txt"), "w", encoding="utf-8") as f:
        f.write(NOTICE.format(original=original, original_file=os.path.basename(font_path),
                              regular="torvikan-gothic.woff2", family=FAMILY,
                              narrow_file="torvikan-gothic-narrow.woff2", narrow_family=NARROW_FAMILY,
                              help_file="torvikan-gothic-help.woff2", help_family=HELP_FAMILY,
                              version=version, percent=round(factor * 100), help_percent=round(help_factor * 100)))
        f.write(ipa_licence(copyright_path))


if __name__ == "__main__":
    main()
