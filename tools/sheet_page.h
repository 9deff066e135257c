#pragma once

// What the parts of torvikan-sheet's page share: its measures, the
// millimetres-to-dots conversion and the page's own texts and rules.

#include "sheet.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;

namespace sheet {

inline constexpr double lineWidth = fieldLineWidth;
inline const QColor ruleColour(140, 140, 140); // the thin rules of the table and the field's panel

// Device dots for millimetres on paper at `dpi` dots per inch.
constexpr double dotsOf(double millimetres, double dpi) { return millimetres / 25.4 * dpi; }

// A page being drawn, measured in millimetres.
class Page {
public:
    Page(QPainter& painter, double dpi)
        : m_painter(painter)
        , m_dpi(dpi)
    {
    }

    double dots(double millimetres) const { return dotsOf(millimetres, m_dpi); }
    QPointF point(double x, double y) const { return {dots(x), dots(y)}; }
    QRectF rect(double x, double y, double w, double h) const { return {dots(x), dots(y), dots(w), dots(h)}; }

    static QFont font(double points, bool bold = false);

    // Text in a rectangle of millimetres. One line of text that is too wide
    // for it is set smaller until it fits, so no digit is ever cut off.
    void text(const QRectF& r, int flags, const QString& s, const QFont& f);
    // A rule of `width` millimetres.
    void line(QPointF from, QPointF to, double width, const QColor& colour = Qt::black);

    QPainter& painter() { return m_painter; }
    double dpi() const { return m_dpi; }

private:
    QPainter& m_painter;
    double m_dpi;
};

// The table's part on one page, and its notes after the last part.
void drawTable(Page& page, const Content& content, const TablePart& part, bool last);

// Page `number` of a sheet whose table is laid out in `parts`.
void paintPage(QPainter& painter, double dpi, const Content& content, const std::vector<TablePart>& parts, int number);

void drawNotes(Page& page, const Content& content, double top);

// A UTF-8 text of the lesson's as a QString.
inline QString qText(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace sheet
