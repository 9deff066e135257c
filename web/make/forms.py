#!/usr/bin/env python3
"""Turns the windows' Designer forms into the page's layout.

    forms.py OUTPUT.js lettering.h main_window.ui help_window.ui

writes an ES module that exports `mainWindow` and `helpWindow`: each
window's title, size, and its controls in Tab order (those that take the
focus first, as the form's <tabstops> list them, then the rest in the form's
order), each with its place and size in pixels, stacking order, text, font,
colours, frame and accessible name. The page builds its two views from it, so the page and
the forms cannot drift apart; the fonts' sizes come from lesson/lettering.h,
as the windows' do.  Standard library only.
"""

import json
import os
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lettering  # noqa: E402

KINDS = {
    "QPushButton": "button",
    "QLineEdit": "box",
    "QLabel": "label",
    "QFrame": "frame",
    "QWidget": "fill",
}

# What takes the focus without a focusPolicy in the form: Qt's defaults.
FOCUSED_BY_DEFAULT = {"button", "box"}


def points_to_pixels(points):
    """Qt's 96 dpi points, rounded half away from zero as ui/twips.h does."""
    return int(points * 96 / 72 + 0.5)


def prop(widget, name):
    for p in widget.findall("property"):
        if p.get("name") == name:
            return p
    return None


def text_of(widget, name):
    p = prop(widget, name)
    if p is None:
        return None
    s = p.find("string")
    return s.text or "" if s is not None else None


def rect_of(widget):
    r = prop(widget, "geometry").find("rect")
    return [int(r.find(k).text) for k in ("x", "y", "width", "height")]


def palette_colours(widget):
    """The active colour group's roles, as CSS colours."""
    p = prop(widget, "palette")
    colours = {}
    if p is None:
        return colours
    for role in p.find("palette/active").findall("colorrole"):
        c = role.find("brush/color")
        rgb = ", ".join(c.find(k).text for k in ("red", "green", "blue"))
        colours[role.get("role")] = "rgb(%s)" % rgb
    return colours


def points_shown(form_points, sizes):
    """The size a font the form holds as `form_points` is shown at: the
    forms hold whole points, which is what Designer can show, and the
    windows set the sizes the layout was drawn for after setupUi."""
    set_in_code = [s for s in sizes if int(s + 0.5) == form_points]
    if len(set_in_code) > 1:
        raise SystemExit("lesson/lettering.h: %s all round to the forms' %d pt" % (set_in_code, form_points))
    return set_in_code[0] if set_in_code else form_points


def font_of(widget, sizes):
    p = prop(widget, "font")
    if p is None:
        return None
    f = p.find("font")
    points = int(f.find("pointsize").text)
    bold = f.find("bold") is not None and f.find("bold").text == "true"
    return {"px": points_to_pixels(points_shown(points, sizes)), "bold": bold}


def alignment_of(widget):
    p = prop(widget, "alignment")
    flags = p.find("set").text if p is not None else ""
    if "AlignCenter" in flags or "AlignHCenter" in flags:
        return "center"
    if "AlignRight" in flags:
        return "right"
    return "left"


def frame_of(widget):
    shape = prop(widget, "frameShape")
    if shape is None:
        return None
    shape = shape.find("enum").text.split("::")[1].lower()
    shadow = prop(widget, "frameShadow")
    width = prop(widget, "lineWidth")
    return {
        "shape": shape,
        "shadow": shadow.find("enum").text.split("::")[1].lower() if shadow is not None else "plain",
        "width": int(width.find("number").text) if width is not None else 1,
    }


def describe(widget, sizes, within=None):
    kind = KINDS[widget.get("class")]
    pixmap = prop(widget, "pixmap")
    if kind == "label" and pixmap is not None:
        kind = "picture"
    control = {"name": widget.get("name"), "kind": kind, "rect": rect_of(widget)}
    policy = prop(widget, "focusPolicy")
    if policy is not None:
        control["focusable"] = policy.find("enum").text != "Qt::NoFocus"
    else:
        control["focusable"] = kind in FOCUSED_BY_DEFAULT
    text = text_of(widget, "text")
    if text is not None:
        control["text"] = text
    font = font_of(widget, sizes)
    if font is not None:
        control["font"] = font
    if kind in ("label", "box"):
        control["align"] = alignment_of(widget)
    colours = palette_colours(widget)
    # Without a colour of its own, a control that fills its background fills
    # it with the window's, which the page shows through anyway.
    auto_fill = prop(widget, "autoFillBackground")
    if auto_fill is not None and auto_fill.find("bool").text == "true" and "Window" in colours:
        control["background"] = colours["Window"]
    if "WindowText" in colours:
        control["color"] = colours["WindowText"]
    frame = frame_of(widget)
    if frame is not None:
        control["frame"] = frame
    name = text_of(widget, "accessibleName")
    if name is not None:
        control["accessibleName"] = name
    if pixmap is not None:
        # ":/pictures/dog.png": the page ships the same file in pictures/.
        control["picture"] = pixmap.find("pixmap").text.rsplit("/", 1)[1]
    if within is not None:
        control["within"] = within
    return control


def interior(control):
    """A framed control's drawing area, inside its frame, in the window."""
    x, y, w, h = control["rect"]
    inset = control["frame"]["width"] if "frame" in control else 0
    return [x + inset, y + inset, w - 2 * inset, h - 2 * inset]


def read_form(path, facts):
    """`facts`: lesson/lettering.h, as lettering.read gives it."""
    sizes = lettering.point_sizes(facts)
    root = ET.parse(path).getroot()
    window = root.find("widget")
    controls = []
    for widget in window.findall("widget"):
        control = describe(widget, sizes)
        controls.append(control)
        # A frame that holds a drawing surface in a margin-less layout: the
        # surface is the frame's interior, and the widgets placed on it are
        # positioned from the interior's top-left corner and clipped to it.
        surface = widget.find("layout/item/widget")
        if surface is not None:
            control["interior"] = interior(control)
            controls.extend(describe(child, sizes, within=control["name"]) for child in surface.findall("widget"))
    # Later widgets lie over earlier ones, as the rule lies over the top
    # row's buttons; the page keeps that order whatever the Tab order.
    for z, control in enumerate(controls, start=1):
        control["z"] = z
    order = [t.text for t in root.findall("tabstops/tabstop")]
    by_name = {c["name"]: c for c in controls}
    focusable = [c["name"] for c in controls if c["focusable"]]
    if sorted(order) != sorted(focusable):
        raise SystemExit("%s: the Tab order lists %s, the focusable controls are %s" % (path, order, focusable))
    rest = [c for c in controls if not c["focusable"]]
    width, height = rect_of(window)[2:]
    return {
        "title": text_of(window, "windowTitle"),
        "width": width,
        "height": height,
        "controls": [by_name[n] for n in order] + rest,
    }


def texts_shown(form):
    """Every text the window shows, for the font subset."""
    return [form["title"]] + [c["text"] for c in form["controls"] if "text" in c]


def main():
    out, lettering_h, main_ui, help_ui = sys.argv[1:5]
    facts = lettering.read(lettering_h)
    forms = {"mainWindow": read_form(main_ui, facts), "helpWindow": read_form(help_ui, facts)}
    with open(out, "w", encoding="utf-8") as f:
        f.write("// Made from the windows' forms by web/make/forms.py at build time.\n")
        for name, form in forms.items():
            controls = ",\n".join("    " + json.dumps(c, ensure_ascii=False) for c in form["controls"])
            head = json.dumps({k: v for k, v in form.items() if k != "controls"}, ensure_ascii=False)[:-1]
            f.write("export const %s = %s, \"controls\": [\n%s\n]};\n" % (name, head, controls))


if __name__ == "__main__":
    main()
