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

// A4 portrait, in millimetres.
inline constexpr double pageWidth = 210.0;
inline constexpr double pageHeight = 297.0;
inline constexpr double margin = 15.0;
inline constexpr double contentWidth = pageWidth - 2 * margin;
inline constexpr double pageBottom = pageHeight - 12.0; // where the table and its notes end
inline constexpr double lineWidth = 0.25; // a 1-pixel line of the window
inline const QColor ruleColour(140, 140, 140); // the thin rules of the table and the field's panel

inline const QString titleText = QStringLiteral("犬とねずみの追いかけっこ　記録用紙");

// Device dots for millimetres on paper at `dpi` dots per inch.
constexpr double dotsOf(double millimetres, double dpi) { return millimetres / 25.4 * dpi; }

// Where the table of each page starts: the first page's below the field,
// the others' below the heading that every page repeats.
double tableTop(int page);

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

// The table: which listed clicks each page holds, and its drawing.
struct TablePart {
    int page = 0;
    std::size_t firstRow = 0; // indices into Content::listed
    std::size_t endRow = 0;
};
std::vector<TablePart> tableParts(const Content& content);
// The rows that fit on a page above `notes` millimetres of notes.
int rowsOnPage(const Content& content, int page, double notes);
void drawTable(Page& page, const Content& content, const TablePart& part, bool last);

// Page `number` of a sheet whose table is laid out in `parts`.
void paintPage(QPainter& painter, double dpi, const Content& content, const std::vector<TablePart>& parts, int number);

// The sentences under the table, and how much room they take: reckoned
// from their length, so that the rows are laid out before any font is
// loaded.
QStringList notesOf(const Content& content);
double notesHeight(const Content& content);
void drawNotes(Page& page, const Content& content, double top);

} // namespace sheet
