#include "fonts.h"

#include "twips.h"

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
