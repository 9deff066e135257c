// torvikan-sheet's table: the read-outs of the listed clicks, page by page,
// and the sentences under it.

#include "sheet_page.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace sheet {

namespace {

const QColor headerFill(235, 235, 235);

void drawCaption(Page& page, const Content& content, double top, bool continued)
{
    page.text(page.rect(margin, top, contentWidth, captionHeight), Qt::AlignLeft | Qt::AlignVCenter,
        qText(captionText(content, continued)), Page::font(10, true));
}

void drawHeader(Page& page, const std::vector<Column>& columns, double top)
{
    page.painter().fillRect(page.rect(margin, top, contentWidth, headerHeight), headerFill);
    const QFont font = Page::font(8, true);
    double x = margin;
    for (const Column& column : columns) {
        page.text(page.rect(x, top, column.width, headerHeight), Qt::AlignCenter, qText(column.header), font);
        x += column.width;
    }
    page.line({margin, top + headerHeight}, {margin + contentWidth, top + headerHeight}, 0.25);
}

// The rows' texts, and a thin rule between each two of them.
void drawRows(Page& page, const Content& content, const std::vector<Column>& columns, const TablePart& part, double top)
{
    const QFont numbers = Page::font(8.5);
    const double height = rowHeightOf(content);
    double y = top;
    for (std::size_t row = part.firstRow; row < part.endRow; ++row) {
        if (row > part.firstRow)
            page.line({margin, y}, {margin + contentWidth, y}, 0.1, ruleColour);
        const std::vector<std::string> cells = rowTexts(content, content.listed[row]);
        double x = margin;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const Column& column = columns[i];
            page.text(page.rect(x + 1.5, y, column.width - 3.0, height),
                (column.centred ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter, qText(cells[i]), numbers);
            x += column.width;
        }
        y += height;
    }
}

// The rules between the columns, from the header to the last row, and the
// outline.
void drawFrame(Page& page, const std::vector<Column>& columns, double top, double bottom)
{
    double x = margin;
    for (std::size_t i = 0; i + 1 < columns.size(); ++i) {
        x += columns[i].width;
        if (columns[i].endsGroup)
            page.line({x, top}, {x, bottom}, 0.25);
        else
            page.line({x, top}, {x, bottom}, 0.1, ruleColour);
    }
    page.painter().setPen(QPen(Qt::black, page.dots(0.35)));
    page.painter().setBrush(Qt::NoBrush);
    page.painter().drawRect(page.rect(margin, top, contentWidth, bottom - top));
}

} // namespace

void drawNotes(Page& page, const Content& content, double top)
{
    const QFont font = Page::font(notePoints);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    double y = top;
    for (const std::string& text : notesOf(content)) {
        const QString note = qText(text);
        y += notesGap;
        const QRectF area = page.rect(margin, y, contentWidth, pageHeight - y);
        page.text(area, flags, note, font);
        y += QFontMetricsF(font, page.painter().device()).boundingRect(area, flags, note).height() / page.dots(1.0);
    }
}

void drawTable(Page& page, const Content& content, const TablePart& part, bool last)
{
    const double top = tableTop(content, part.page);
    if (part.firstRow == part.endRow) { // only the notes were left over for this page
        drawNotes(page, content, top);
        return;
    }
    const std::vector<Column> columns = columnsOf(content);
    drawCaption(page, content, top, part.page > 0);
    drawHeader(page, columns, top + captionHeight);
    const double rowsTop = firstRowTop(content, part.page);
    drawRows(page, content, columns, part, rowsTop);
    const double bottom = rowsTop + rowHeightOf(content) * double(part.endRow - part.firstRow);
    drawFrame(page, columns, top + captionHeight, bottom);
    if (last)
        drawNotes(page, content, bottom);
}

} // namespace sheet
