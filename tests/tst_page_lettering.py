"""The page's build reads the windows' faces and sizes from lesson/lettering.h
(web/make/lettering.py): it must read the header as the compiler does, stop
on any line it cannot read rather than skip a fact, and read where the
page's style sheet insets a box's text.

    tst_page_lettering.py SOURCE_DIR
"""

import os
import sys
import tempfile
import unittest

SOURCE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
sys.path.insert(0, os.path.join(SOURCE, "web", "make"))
import forms  # noqa: E402
import lettering  # noqa: E402

HEADER = os.path.join(SOURCE, "lesson", "lettering.h")
CSS = os.path.join(SOURCE, "web", "page", "torvikan.css")


def written(text, suffix):
    f = tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=suffix, delete=False)
    f.write(text)
    f.close()
    return f.name


def read_lines(*lines):
    path = written("#pragma once\n\nnamespace lettering {\n%s\n} // namespace lettering\n" % "\n".join(lines), ".h")
    try:
        return lettering.read(path)
    finally:
        os.remove(path)


class Header(unittest.TestCase):
    def test_reads_each_kind_of_fact(self):
        for line, name, value in (
            ("inline constexpr double headingPoints = 15.75;", "headingPoints", 15.75),
            ("inline constexpr double boxPoints = 18;", "boxPoints", 18.0),
            ("inline constexpr int caretWidth = 1;", "caretWidth", 1),
            ('inline constexpr char japaneseFace[] = "ＭＳ Ｐゴシック";', "japaneseFace", "ＭＳ Ｐゴシック"),
            ('inline constexpr char widestReadout[] = "-100.200";', "widestReadout", "-100.200"),
            ('inline constexpr const char* faces[] = {"IPAPGothic", "Noto Sans CJK JP"};', "faces",
             ["IPAPGothic", "Noto Sans CJK JP"]),
            ("// inline constexpr int commentedOut = 3;", None, None),
        ):
            with self.subTest(line):
                facts = read_lines(line)
                self.assertEqual(facts, {name: value} if name else {})

    def test_stops_on_what_it_cannot_read(self):
        for case, lines in (
            ("a fact over two lines", ('inline constexpr const char* faces[] = {"IPAPGothic",', '    "IPAGothic"};')),
            ("a type it does not know", ("inline constexpr float helpPoints = 11.25f;",)),
            ("an expression", ("inline constexpr double helpPoints = 45.0 / 4;",)),
            ("a negative size", ("inline constexpr int caretWidth = -1;",)),
            ("a fact given twice", ("inline constexpr int caretWidth = 1;", "inline constexpr int caretWidth = 2;")),
            ("a comment after a fact", ("inline constexpr int caretWidth = 1; // the caret",)),
        ):
            with self.subTest(case), self.assertRaises(SystemExit):
                read_lines(*lines)

    def test_the_program_s_header_gives_what_the_page_reads(self):
        facts = lettering.read(HEADER)
        for name in ("japaneseFace", "japaneseSubstitutes", "widestReadout", "caretWidth"):
            with self.subTest(name):
                lettering.fact(facts, name)


class FormSizes(unittest.TestCase):
    def test_a_form_s_whole_points_are_the_size_the_windows_set(self):
        sizes = [15.75, 12, 18, 11.25]
        for form_points, shown in ((16, 15.75), (11, 11.25), (12, 12), (18, 18), (14, 14)):
            with self.subTest(form_points=form_points):
                self.assertEqual(forms.points_shown(form_points, sizes), shown)

    def test_two_sizes_a_form_cannot_tell_apart_stop_the_build(self):
        with self.assertRaises(SystemExit):
            forms.points_shown(16, [15.75, 16.25])


class StyleSheet(unittest.TestCase):
    def test_the_page_s_style_sheet_is_in_the_form_the_build_reads(self):
        self.assertGreater(lettering.page_text_inset(CSS), 0)

    def test_a_read_out_s_room(self):
        facts = {"caretWidth": 1}
        rule = ".box {\n    border: calc(%s * var(--s)) solid #ababab;\n    padding: 0 calc(%s * var(--s));\n}\n"
        for case, text, room in (
            ("border and padding", rule % (1, 3), 81 - 2 * 4 - 1),
            ("a wider padding", rule % (1, 5), 81 - 2 * 6 - 1),
            ("lengths it cannot read", ".box {\n    border: 1px solid #ababab;\n    padding: 0 3px;\n}\n", None),
            ("no .box rule", ".button {\n    border: calc(1 * var(--s)) solid #ababab;\n}\n", None),
        ):
            path = written(text, ".css")
            try:
                with self.subTest(case):
                    if room is None:
                        self.assertRaises(SystemExit, lettering.readout_room, facts, path, 81)
                    else:
                        self.assertEqual(lettering.readout_room(facts, path, 81), room)
            finally:
                os.remove(path)


if __name__ == "__main__":
    unittest.main(verbosity=2)
