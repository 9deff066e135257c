#!/usr/bin/env python3
"""Draws Torvikan's pixel-art pictures and writes them as PNG files.

The drawings live in this file as character grids: every character is one
pixel, and the colour key below says which colour it stands for.  The white
animals get a one-pixel black outline added automatically around their
silhouette, so the grids only hold the fill colours and the inner lines
(eyes, mouth, the line between ear and head, ...).

Run from the repository root (or anywhere else):

    python3 assets/draw_pictures.py

It writes, next to this script:

    dog.png                    34 x 34   the dog
    mouse.png                  33 x 34   the mouse
    icon.png                   32 x 32   the program icon (the dog, framed)
    icons/<N>/torvikan.png     N x N     the icon enlarged, N = 32, 64, 128, 256
                                         for the desktop, 192 and 512 for the
                                         web page's manifest

Only the standard library is used, and the output is the same byte for byte
on every run.
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------

GREEN = (0, 128, 0)          # the meadow both animals stand on
PURPLE = (64, 16, 96)        # dark purple squares behind the dog
FRAME_GREY = (208, 207, 192)  # the thin line on the icon's right and bottom

COLOURS = {
    "K": (0, 0, 0),           # outline, pupils, dog's nose
    "W": (255, 255, 255),     # fur
    "P": (255, 150, 190),     # pink: dog's ears, mouse's inner ears and nose
    "E": (40, 110, 255),      # dog's blue eyes
    "R": (225, 20, 30),       # red: dog's mouth, mouse's bow
    "r": (140, 0, 20),        # dark red: the knot of the bow
    "T": (255, 110, 140),     # dog's tongue
    "B": (30, 70, 220),       # mouse's blue trousers
    "Y": (255, 220, 0),       # yellow triangles, the buttons on the straps
}

# Fill colours that get the automatic black outline where they meet the
# background.  Black lines themselves and the yellow triangles don't.
OUTLINED = set("WPERrTB")

# ---------------------------------------------------------------------------
# The dog, seen from the front, sitting.  The dog is left-right symmetric, so
# only the left half (columns 0..16) is drawn; the right half is its mirror.
# '.' is background.  Rows 0..2 and 32..33 and columns 0..2 hold no fill, so
# the figure with its outline spans columns 2..31 and rows 2..32 and fits the
# 31 x 31 picture part of the icon as well.
# ---------------------------------------------------------------------------

DOG_LEFT_HALF = [
    ".................",  # 0
    ".................",  # 1
    ".................",  # 2
    "..........WWWWWWW",  # 3
    "....PPPP.WWWWWWWW",  # 4
    "...PPPPPKWWWWWWWW",  # 5
    "...PPPPPKWWWWWWWW",  # 6
    "...PPPPPKWWWWWWWW",  # 7
    "...PPPPPKWWKKKWWW",  # 8
    "...PPPPPKWKEEEKWW",  # 9
    "...PPPPPKWKEKEKWW",  # 10
    "...PPPPPKWKEEEKWW",  # 11
    "...PPPPPKWWKKKWWW",  # 12
    "...PPPPPKWWWWWWWW",  # 13
    "....PPPPKWWWWWKKK",  # 14
    "....PPPKWWWWWKKKK",  # 15
    ".....PPKWWWWWWKKK",  # 16
    "......KWWWWWWWWWK",  # 17
    ".......WWWWWKKKKK",  # 18
    ".......WWWWKRRRRR",  # 19
    ".......WWWWKRRRKT",  # 20
    "........WWWWKRKTT",  # 21
    "........WWWWWKKTT",  # 22
    "........KKWWWWKTT",  # 23
    "........WWKKKKKKK",  # 24
    ".......WWWWWWWWWW",  # 25
    "......WWWWWWWWWWW",  # 26
    ".....WWWWKWWWWWWW",  # 27
    ".....WWWKWWWWWW..",  # 28
    "....WWWWKWWWWWW..",  # 29
    "....WWWWKWWWWWW..",  # 30
    "....WWWWKWWKWKW..",  # 31
    ".................",  # 32
    ".................",  # 33
]

# ---------------------------------------------------------------------------
# The mouse, standing upright and facing the viewer.  Its body is symmetric
# about column 11, so again only the left half (columns 0..11) is drawn and
# mirrored.  The whiskers, the tail, the bow and the yellow triangles are
# laid over the body from a full-width grid.
# ---------------------------------------------------------------------------

MOUSE_LEFT_HALF = [
    "............",  # 0
    "............",  # 1
    "...WWWW.....",  # 2
    "..WWWWWW....",  # 3
    ".WWPPPPWW...",  # 4
    ".WPPPPPPW...",  # 5
    ".WPPPPPPKWWW",  # 6
    ".WPPPPKKWWWW",  # 7
    "..WPPKWWWWWW",  # 8
    "...WKWWWWWWW",  # 9
    "....WWWWWWWW",  # 10
    "....WWWKKWWW",  # 11
    "....WWWKKWWW",  # 12
    "....WWWWWWWW",  # 13
    "....WWWWWWPP",  # 14
    ".....WWWWWWK",  # 15
    "......WWWWWW",  # 16
    "......KKKKKK",  # 17
    ".....WWWBWWW",  # 18
    "....WWKWBWWW",  # 19
    "....WWKWBWWW",  # 20
    "....WWKWBWWW",  # 21
    "....WWKBYBBB",  # 22
    "....WWKBBBBB",  # 23
    "......BBBBBB",  # 24
    "......BBBBBB",  # 25
    "......BBBBBK",  # 26
    "......BBBBBK",  # 27
    "......BBBBBK",  # 28
    "......BBBBBK",  # 29
    "....WWWWWWW.",  # 30
    "...WWWWWWWW.",  # 31
    "............",  # 32
    "............",  # 33
]

MOUSE_OVERLAY = [
    "...........Y.....................",  # 0
    "..........YYY............RR...RR.",  # 1
    ".........YYYYY...........RRR.RRR.",  # 2
    ".........................RRRrRRR.",  # 3
    ".........................RRRWRRR.",  # 4
    ".........................RR.W.RR.",  # 5
    "............................W....",  # 6
    "............................W....",  # 7
    "............................W....",  # 8
    "...........................W.....",  # 9
    "...........................W.....",  # 10
    "...........................W.....",  # 11
    "............................W....",  # 12
    "KKK.................KKK.....W....",  # 13
    "............................W....",  # 14
    ".KKK...............KKK..Y...W....",  # 15
    ".......................YYY..W....",  # 16
    "......................YYYYY.W....",  # 17
    "...........................W.....",  # 18
    "...........................W.....",  # 19
    "..........................W......",  # 20
    "..........................W......",  # 21
    ".........................W.......",  # 22
    "........................W........",  # 23
    "..Y...................WW.........",  # 24
    ".YYY................WW...........",  # 25
    "YYYYY.............WW.............",  # 26
    ".................................",  # 27
    ".................................",  # 28
    ".................................",  # 29
    ".................................",  # 30
    ".................................",  # 31
    ".................................",  # 32
    ".................................",  # 33
]


# ---------------------------------------------------------------------------
# Building pictures from the grids
# ---------------------------------------------------------------------------

def mirror(left_half, shared_middle):
    """Completes a symmetric drawing from its left half.

    With shared_middle the last column of the half is the middle column of
    the picture and is not repeated."""
    rows = []
    for row in left_half:
        right = row[::-1]
        if shared_middle:
            right = right[1:]
        rows.append(row + right)
    return rows


def overlay(base, top, width):
    """Lays the non-background pixels of `top` over `base`."""
    rows = []
    for base_row, top_row in zip(base, top):
        base_row = base_row.ljust(width, ".")
        rows.append("".join(t if t != "." else b
                            for b, t in zip(base_row, top_row)))
    return rows


def add_outline(rows):
    """Puts a black pixel on every background pixel that touches (sideways
    or up/down) an outlined fill colour."""
    height, width = len(rows), len(rows[0])
    grid = [list(row) for row in rows]
    for y in range(height):
        for x in range(width):
            if rows[y][x] != ".":
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < width and 0 <= ny < height \
                        and rows[ny][nx] in OUTLINED:
                    grid[y][x] = "K"
                    break
    return ["".join(row) for row in grid]


def paint(rows, background):
    """Turns a grid into a list of pixel rows; `background(x, y)` gives the
    colour of the '.' pixels."""
    return [[COLOURS[c] if c != "." else background(x, y)
             for x, c in enumerate(row)]
            for y, row in enumerate(rows)]


def checkerboard(x, y):
    """Green and dark purple squares, two pixels wide."""
    return GREEN if (x // 2 + y // 2) % 2 == 0 else PURPLE


def meadow(x, y):
    return GREEN


def check_grid(name, rows, width, height):
    if len(rows) != height or any(len(r) != width for r in rows):
        raise SystemExit("%s: grid is not %d x %d" % (name, width, height))
    for r in rows:
        for c in r:
            if c != "." and c not in COLOURS:
                raise SystemExit("%s: unknown colour %r" % (name, c))


def draw_dog():
    rows = add_outline(mirror(DOG_LEFT_HALF, shared_middle=False))
    check_grid("dog", rows, 34, 34)
    return paint(rows, checkerboard)


def draw_mouse():
    body = mirror(MOUSE_LEFT_HALF, shared_middle=True)
    rows = add_outline(overlay(body, MOUSE_OVERLAY, 33))
    check_grid("mouse", rows, 33, 34)
    return paint(rows, meadow)


def draw_icon(dog):
    """The dog cut to 31 x 31 around the figure, plus a light grey line along
    the right and bottom edges to make 32 x 32."""
    left, top = 1, 2
    icon = [list(row[left:left + 31]) + [FRAME_GREY]
            for row in dog[top:top + 31]]
    icon.append([FRAME_GREY] * 32)
    return icon


def enlarge(pixels, factor):
    """Nearest-neighbour enlargement by a whole number."""
    out = []
    for row in pixels:
        big_row = [p for p in row for _ in range(factor)]
        out.extend(list(big_row) for _ in range(factor))
    return out


# ---------------------------------------------------------------------------
# PNG writing (8-bit RGB, no alpha)
# ---------------------------------------------------------------------------

def png_bytes(pixels):
    height, width = len(pixels), len(pixels[0])

    def chunk(kind, data):
        body = kind + data
        return (struct.pack(">I", len(data)) + body
                + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))

    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for r, g, b in row:
            raw += bytes((r, g, b))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def write_png(relative_path, pixels):
    path = os.path.join(HERE, relative_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png_bytes(pixels))


def main():
    dog = draw_dog()
    mouse = draw_mouse()
    icon = draw_icon(dog)
    write_png("dog.png", dog)
    write_png("mouse.png", mouse)
    write_png("icon.png", icon)
    for size in (32, 64, 128, 192, 256, 512):
        write_png(os.path.join("icons", str(size), "torvikan.png"),
                  enlarge(icon, size // 32))


if __name__ == "__main__":
    main()
