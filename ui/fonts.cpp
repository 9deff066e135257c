#include "fonts.h"

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
    static const bool substituted = [] {
        QFont::insertSubstitutions(QString::fromUtf16(japaneseFaceName),
                                   QStringList() << QStringLiteral("IPAPGothic") << QStringLiteral("IPAexGothic")
                                                 << QStringLiteral("Noto Sans CJK JP")
                                                 << QStringLiteral("IPAGothic"));
        return true;
    }();
    (void)substituted;
    QFont font(QString::fromUtf16(japaneseFaceName));
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
    font.setFamilies({font.family(), QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
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
    // less the edit's own margin of 2 pixels a side and 1 for the cursor.
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.rect = box.rect();
    option.lineWidth = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box);
    const QRect contents = box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box);
    const QMargins margins = box.textMargins();
    const double room = contents.width() - margins.left() - margins.right() - 2 * 2 - 1;
    return narrowedToFit(box.font(), {text}, room);
}
