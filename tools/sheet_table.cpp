// torvikan-sheet's table: the read-outs of the listed clicks, page by page.

#include "sheet_page.h"

#include "number_text.h"

#include <QPainter>

#include <algorithm>

namespace sheet {

namespace {

constexpr double captionHeight = 6.0;
constexpr double headerHeight = 10.5; // three lines of the headers' font
constexpr double rowHeight = 4.3;
constexpr double blankRowHeight = 7.0; // room to write in by hand
const QColor headerFill(235, 235, 235);

struct Column {
    QString header;
    double width; // millimetres
    bool centred = false; // the click and the cue; numbers are set right
    bool endsGroup = false; // a black rule after it: the click, the window's read-outs, the exact chase
};

std::vector<Column> columnsOf(const Content& content)
{
    const QString mouseX = QStringLiteral("ねずみの\n位置ｘ"), mouseY = QStringLiteral("ねずみの\n位置ｙ");
    const QString dogX = QStringLiteral("犬の\n位置ｘ"), dogY = QStringLiteral("犬の\n位置ｙ");
    const QString click = QStringLiteral("クリック"), seconds = QStringLiteral("秒経過");
    const QString cue = QStringLiteral("追いついた\n音");
    if (!content.options.exact || content.options.blank)
        return {{click, 16, true, true}, {mouseX, 26}, {mouseY, 26}, {dogX, 26}, {dogY, 26}, {seconds, 26},
            {cue, 34, true, true}};
    return {{click, 13, true, true}, {mouseX, 17}, {mouseY, 17}, {dogX, 17}, {dogY, 17}, {seconds, 17},
        {cue, 19, true, true}, {QStringLiteral("理論上の犬の\n位置ｘ"), 21},
        {QStringLiteral("理論上の犬の\n位置ｙ"), 21}, {QStringLiteral("画面の犬と\n理論上の犬の\nずれ"), 21}};
}

double rowHeightOf(const Content& content) { return content.options.blank ? blankRowHeight : rowHeight; }

// The texts of one row: the click, the table tool's read-outs and cue,
// and with --exact the exact chase's columns. Only the click on a blank
// sheet.
QStringList rowTexts(const Content& content, int click)
{
    QStringList cells{QString::number(click)};
    if (content.options.blank)
        return cells;
    const Click& c = content.clicks[std::size_t(click)];
    const sim::Readouts& r = c.shown.readouts;
    for (const float value : {r.mouseX, r.mouseY, r.dogX, r.dogY, r.seconds})
        cells << QString::fromStdString(number_text::formatReadout(value));
    cells << (c.fault != sim::Fault::none ? QStringLiteral("エラー※")
            : c.catchCue                  ? QStringLiteral("鳴った")
                                          : QString());
    if (!content.options.exact)
        return cells;
    const Exact& e = content.exact;
    if (const std::optional<sim::exact::Point> dog = sim::exact::dogAt(e.u, e.v, r.seconds)) {
        for (const double value : {dog->x, dog->y, sim::exact::distanceFromShown(r, *dog)})
            cells << QString::fromStdString(number_text::formatFixed(value, 3));
    } else {
        cells << QStringLiteral("－") << QStringLiteral("－") << QStringLiteral("－");
    }
    return cells;
}

void drawCaption(Page& page, const Content& content, double top, bool continued)
{
    const QString every = content.every == 1 ? QStringLiteral("毎回") : QStringLiteral("%1 回ごと").arg(content.every);
    QString caption = QStringLiteral("［次へ］を %1 回クリックしたときの記録（%2）").arg(content.lastClick).arg(every);
    if (continued)
        caption += QStringLiteral("（つづき）");
    page.text(page.rect(margin, top, contentWidth, captionHeight), Qt::AlignLeft | Qt::AlignVCenter, caption,
        Page::font(10, true));
}

void drawHeader(Page& page, const std::vector<Column>& columns, double top)
{
    page.painter().fillRect(page.rect(margin, top, contentWidth, headerHeight), headerFill);
    const QFont font = Page::font(8, true);
    double x = margin;
    for (const Column& column : columns) {
        page.text(page.rect(x, top, column.width, headerHeight), Qt::AlignCenter, column.header, font);
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
        const QStringList cells = rowTexts(content, content.listed[row]);
        double x = margin;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const Column& column = columns[std::size_t(i)];
            page.text(page.rect(x + 1.5, y, column.width - 3.0, height),
                (column.centred ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter, cells[i], numbers);
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

double firstRowTop(int page) { return tableTop(page) + captionHeight + headerHeight; }

} // namespace

int rowsOnPage(const Content& content, int page, double notes)
{
    const double room = pageBottom - firstRowTop(page) - notes;
    return std::max(0, int(room / rowHeightOf(content) + 1e-9));
}

std::vector<TablePart> tableParts(const Content& content)
{
    std::vector<TablePart> parts;
    const std::size_t rows = content.listed.size();
    const double notes = notesHeight(content);
    std::size_t row = 0;
    for (int page = 0;; ++page) {
        const std::size_t left = rows - row;
        const std::size_t withNotes = std::size_t(rowsOnPage(content, page, notes));
        if (left <= withNotes) {
            parts.push_back({page, row, rows});
            return parts;
        }
        // The notes follow the table: a last part they would not fit under
        // leaves some of its rows to the next page.
        const std::size_t room = std::max<std::size_t>(1, std::size_t(rowsOnPage(content, page, 0.0)));
        const std::size_t taken = left <= room ? std::max<std::size_t>(1, std::min(withNotes, left - 1)) : room;
        parts.push_back({page, row, row + taken});
        row += taken;
    }
}

void drawTable(Page& page, const Content& content, const TablePart& part, bool last)
{
    const double top = tableTop(part.page);
    if (part.firstRow == part.endRow) { // only the notes were left over for this page
        drawNotes(page, content, top);
        return;
    }
    const std::vector<Column> columns = columnsOf(content);
    drawCaption(page, content, top, part.page > 0);
    drawHeader(page, columns, top + captionHeight);
    const double rowsTop = firstRowTop(part.page);
    drawRows(page, content, columns, part, rowsTop);
    const double bottom = rowsTop + rowHeightOf(content) * double(part.endRow - part.firstRow);
    drawFrame(page, columns, top + captionHeight, bottom);
    if (last)
        drawNotes(page, content, bottom);
}

} // namespace sheet
