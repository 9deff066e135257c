#include "fonts.h"

#include "twips.h"

#include <QApplication>
#include <QStringList>

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
