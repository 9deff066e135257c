#pragma once

// How the windows letter their words, and the page after them: the face,
// the sizes the layout was drawn for, and what a read-out keeps room for.
// The page's build reads this file as well as the compiler does
// (web/make/lettering.py), so each fact is a plain literal on a line of its
// own; that reader stops the build on any line it does not recognise.

namespace lettering {

// The Japanese face is asked for by name, and a desktop without it gets
// the first of these it has. The page's face is made from the first.
inline constexpr char japaneseFace[] = "ＭＳ Ｐゴシック";
inline constexpr const char* japaneseSubstitutes[] = {"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP", "IPAGothic"};

// Points at 96 dpi. The forms hold them rounded to whole points, which is
// all Designer shows; the windows set these after setupUi.
inline constexpr double headingPoints = 15.75;
inline constexpr double captionPoints = 12;
inline constexpr double boxPoints = 18;
inline constexpr double helpPoints = 11.25;

// The widest value the read-outs show whole; their face is narrowed just
// enough for it.
inline constexpr char widestReadout[] = "-100.200";

// The pixels the caret takes after a box's text, which a read-out keeps
// free beside the widest value.
inline constexpr int caretWidth = 1;

} // namespace lettering
