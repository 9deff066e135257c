#pragma once

#include <QFont>

class QLineEdit;

// The Japanese face of the windows (lettering::japaneseFace), or on a
// desktop without it the first of its substitutes the desktop has, such as
// IPAPGothic from Debian's fonts-ipafont-gothic.
QFont japaneseFont(double points, bool bold = false);

// The desktop's own user-interface font, for buttons and the field's
// labels, with the Japanese face first among the fallbacks: kana and kanji
// then come from one known face rather than whatever the system finds.
QFont desktopFont(int pixelSize = 0);

// `font` narrowed just enough for the widest of `texts` to take no more
// than `room` pixels; `font` itself where they fit already.
QFont narrowedToFit(const QFont& font, const QStringList& texts, double room);

// `box`'s font narrowed just enough for `text` to fit the box whole.
QFont narrowedToFit(const QLineEdit& box, const QString& text);
