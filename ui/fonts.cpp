#include "fonts.h"

#include "lettering.h"
#include "twips.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>


QFont japaneseFont(double points, bool bold)
{
    static const QString face = [] {
        QStringList substitutes;
        for (const char* name : lettering::japaneseSubstitutes)
            substitutes << QString::fromUtf8(name);
        const QString name = QString::fromUtf8(lettering::japaneseFace);
        QFont::insertSubstitutions(name, substitutes);
        return name;
    }();
    QFont font(face);
    font.setPixelSize(pointsToPixels(points));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    // The face holds every character the windows show, so Qt need not look
    // for fallback faces: that search is most of the fonts' start-up cost.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QFont desktopFont(int pixelSize)
{
    QFont font = QApplication::font();
    QStringList families{font.family()};
    for (const char* name : lettering::japaneseSubstitutes)
        families << QString::fromUtf8(name);
    font.setFamilies(families);
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    return font;
}

QFont narrowedToFit(const QFont& font, const QStringList& texts, double room)
{
    const auto widest = [&texts](const QFont& f) {
        const QFontMetricsF metrics(f);
        double width = 0.0;
        for (const QString& text : texts)
            width = std::max(width, metrics.horizontalAdvance(text));
        return width;
    };
    // Glyphs narrow in proportion to the stretch, give or take a pixel's
    // rounding: start from the proportion and step down until it fits.
    const double natural = widest(font);
    if (natural <= room)
        return font;
    QFont narrowed = font;
    for (int stretch = std::min(99, int(100.0 * room / natural) + 1); stretch > 1; --stretch) {
        narrowed.setStretch(stretch);
        if (widest(narrowed) <= room)
            break;
    }
    return narrowed;
}

QFont narrowedToFit(const QLineEdit& box, const QString& text)
{
    // The room a line edit leaves its text: the style's contents rectangle
    // less the edit's own margin of 2 pixels a side and the cursor's.
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.rect = box.rect();
    option.lineWidth = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box);
    const QRect contents = box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box);
    const QMargins margins = box.textMargins();
    const double room = contents.width() - margins.left() - margins.right() - 2 * 2 - lettering::caretWidth;
    return narrowedToFit(box.font(), {text}, room);
}
