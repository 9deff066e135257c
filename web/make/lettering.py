"""Reads lesson/lettering.h, the windows' faces and sizes, for the page's
generators: the page letters its words from the same facts as the windows.
It also reads where the page's style sheet insets a box's text, which is
the page's own.

The header is C++ that the program compiles; this reads it line by line
and stops the build on any line it does not recognise, so that a fact
written in another form is never silently left behind.  Standard library
only.
"""

import re

_NAME = r"(?P<name>[A-Za-z]\w*)"
_STRING = r'"[^"\\]*"'
_DECLARATIONS = (
    (re.compile(r"inline constexpr double %s = (?P<value>\d+(?:\.\d+)?);" % _NAME), float),
    (re.compile(r"inline constexpr int %s = (?P<value>\d+);" % _NAME), int),
    (re.compile(r"inline constexpr char %s\[\] = (?P<value>%s);" % (_NAME, _STRING)), lambda v: v[1:-1]),
    (
        re.compile(r"inline constexpr const char\* %s\[\] = \{(?P<value>%s(?:, %s)*)\};" % (_NAME, _STRING, _STRING)),
        lambda v: re.findall(r'"([^"\\]*)"', v),
    ),
)
_IGNORED = re.compile(r"(//.*|#pragma once|namespace lettering \{|\} // namespace lettering)?")


def read(path):
    """The header's facts, by their C++ names."""
    facts = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, start=1):
            line = line.strip()
            if _IGNORED.fullmatch(line):
                continue
            for pattern, convert in _DECLARATIONS:
                match = pattern.fullmatch(line)
                if match:
                    break
            else:
                raise SystemExit("%s:%d: not a fact the page's build can read: %s" % (path, number, line))
            if match["name"] in facts:
                raise SystemExit("%s:%d: %s is given twice" % (path, number, match["name"]))
            facts[match["name"]] = convert(match["value"])
    return facts


def fact(facts, name, path="lesson/lettering.h"):
    if name not in facts:
        raise SystemExit("%s no longer gives %s, which the page's build reads" % (path, name))
    return facts[name]


def point_sizes(facts):
    """Every size the windows set, in points."""
    return [value for name, value in facts.items() if name.endswith("Points")]


# How torvikan.css insets a text box's text: the .box rule's border and
# side padding, each a number of the window's pixels.
BOX_RULE = re.compile(r"\.box \{(?P<body>[^}]*)\}")
BOX_BORDER = re.compile(r"border: calc\((?P<px>\d+) \* var\(--s\)\) solid ")
BOX_PADDING = re.compile(r"padding: 0 calc\((?P<px>\d+) \* var\(--s\)\);")


def page_text_inset(css_path):
    """Where the page's boxes start their text, in pixels from either edge."""
    with open(css_path, encoding="utf-8") as f:
        rule = BOX_RULE.search(f.read())
    border = BOX_BORDER.search(rule["body"]) if rule else None
    padding = BOX_PADDING.search(rule["body"]) if rule else None
    if not border or not padding:
        raise SystemExit("%s: its .box rule no longer gives a border and side padding this reads" % css_path)
    return int(border["px"]) + int(padding["px"])


def readout_room(facts, css_path, box_width):
    """The width a read-out box leaves its text on the page: the box less
    the style sheet's insets on both sides and the caret's pixels."""
    return box_width - 2 * page_text_inset(css_path) - fact(facts, "caretWidth")
