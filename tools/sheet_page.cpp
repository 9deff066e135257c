// The page of torvikan-sheet: its layout, its drawing, and writing it out.

#include "sheet.h"

#include "field_chart.h"
#include "number_text.h"

#include <QFont>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

// The page, in millimetres of A4 portrait.
constexpr double pageWidth = 210.0;
constexpr double pageHeight = 297.0;
constexpr double margin = 15.0;
constexpr double contentWidth = pageWidth - 2 * margin;
constexpr double titleTop = 12.0;
constexpr double inputsTop = 22.0;
constexpr double fieldTop = 30.0;
constexpr double tableTop = 146.0;
constexpr double captionHeight = 6.0;
constexpr double headerHeight = 9.0;
constexpr double notesHeight = 12.0; // below the table: the exact catch time, the note on faults
constexpr double pageBottom = pageHeight - 12.0;
constexpr double rowHeight = 4.3;
constexpr double blankRowHeight = 7.0; // room to write in by hand
constexpr double lineWidth = 0.25;     // a 1-pixel line of the window

// The chart is laid out in the window's logical pixels: its labels are
// 10 pixels high and its pictures 34 pixels wide, as on screen. The window
// shows about 5.4 pixels per metre across; the sheet keeps that, with
// square metres, so that a grid square on paper is square.
constexpr QSize chartInterior(645, 376);
constexpr int labelPixels = 10;
constexpr int markerBorder = 2; // the pictures' sunken frame, in logical pixels

// The exact path runs through the corners of the dog's marks, so it is
// wider than the grid and a colour of its own to stay visible over them.
const QColor exactColour(0, 170, 60);
constexpr double exactWidth = 0.45;
const QColor ruleColour(140, 140, 140);
const QColor headerFill(235, 235, 235);

// The dots per inch each format is drawn at: fine enough that lines stay
// thin and every mark of a long chase keeps its own edge.
constexpr double pdfDpi = 1200.0;
constexpr double svgDpi = 300.0;
constexpr double pngDpi = 150.0;

const QString titleText = QStringLiteral("犬とねずみの追いかけっこ　記録用紙");
const QString faceName = QStringLiteral("IPAPGothic");

QSize pageSizeAt(double dpi)
{
    return {qRound(pageWidth / 25.4 * dpi), qRound(pageHeight / 25.4 * dpi)};
}

// Device pixels per logical pixel of the chart.
double chartScale(double dpi) { return contentWidth / 25.4 * dpi / chartInterior.width(); }

class Page {
public:
    Page(QPainter& painter, double dpi)
        : m_painter(painter)
        , m_dpi(dpi)
    {
    }

    double mm(double v) const { return v / 25.4 * m_dpi; }
    QRectF rect(double x, double y, double w, double h) const { return {mm(x), mm(y), mm(w), mm(h)}; }

    static QFont font(double points, bool bold = false)
    {
        QFont f(faceName);
        f.setStyleHint(QFont::SansSerif);
        f.setPointSizeF(points);
        f.setWeight(bold ? QFont::Bold : QFont::Normal);
        return f;
    }

    void text(const QRectF& r, int flags, const QString& s, const QFont& f, const QColor& colour = Qt::black)
    {
        m_painter.setFont(f);
        m_painter.setPen(colour);
        m_painter.drawText(r, flags, s);
    }

    // A rule of `width` millimetres.
    void line(QPointF from, QPointF to, double width, const QColor& colour = Qt::black)
    {
        m_painter.setPen(QPen(colour, mm(width), Qt::SolidLine, Qt::FlatCap));
        m_painter.drawLine(QPointF(mm(from.x()), mm(from.y())), QPointF(mm(to.x()), mm(to.y())));
    }

    QPainter& painter() { return m_painter; }
    double dpi() const { return m_dpi; }

private:
    QPainter& m_painter;
    double m_dpi;
};

QString fromUtf8(const std::string& s) { return QString::fromStdString(s); }

void drawHeading(Page& page, const Content& content)
{
    page.text(page.rect(margin, titleTop, contentWidth, 9), Qt::AlignLeft | Qt::AlignVCenter, titleText,
              Page::font(15, true));
    // Room for the pupil's class and name, on a line of its own.
    const double nameLine = 40.0;
    page.text(page.rect(margin, titleTop, contentWidth - nameLine - 1.0, 9), Qt::AlignRight | Qt::AlignBottom,
              QStringLiteral("年　　組　　番　名前"), Page::font(10));
    page.line({pageWidth - margin - nameLine, titleTop + 9.0}, {pageWidth - margin, titleTop + 9.0}, 0.2);

    const Options& o = content.options;
    const QString inputs = QStringLiteral("ネズミの速度ｕ＝%1 ｍ／秒　　犬の速度ｖ＝%2 ｍ／秒　　単位時間h＝%3 秒")
                               .arg(fromUtf8(o.mouseSpeed), fromUtf8(o.dogSpeed), fromUtf8(o.unitTime));
    page.text(page.rect(margin, inputsTop, contentWidth, 6), Qt::AlignLeft | Qt::AlignVCenter, inputs,
              Page::font(11));
}

QPolygonF exactPolyline(const FieldChart& chart, QPoint origin, const std::vector<sim::exact::Point>& path)
{
    QPolygonF line;
    line.reserve(qsizetype(path.size()));
    const Surface& s = chart.surface();
    for (const sim::exact::Point& p : path)
        line << QPointF(origin.x() + s.deviceX(sim::chartX(p.x)), origin.y() + s.deviceY(sim::chartY(p.y)));
    return line;
}

// A picture where the window places its marker: the label's top-left
// corner at markerPixel, the picture inside its sunken frame.
void drawMarker(QPainter& painter, const FieldChart& chart, QPoint origin, double scale, sim::ChartPoint marker,
                const QImage& picture)
{
    if (picture.isNull())
        return;
    const QPointF label = QPointF(chart.markerPixel(marker)) * scale + QPointF(origin);
    const QSizeF outer = QSizeF(picture.size() + QSize(2 * markerBorder, 2 * markerBorder)) * scale;
    const double border = markerBorder * scale;
    painter.fillRect(QRectF(label, QSizeF(outer.width(), border)), QColor(128, 128, 128));
    painter.fillRect(QRectF(label, QSizeF(border, outer.height())), QColor(128, 128, 128));
    painter.fillRect(QRectF(label.x(), label.y() + outer.height() - border, outer.width(), border),
                     QColor(212, 212, 212));
    painter.fillRect(QRectF(label.x() + outer.width() - border, label.y(), border, outer.height()),
                     QColor(212, 212, 212));
    // Enlarged without smoothing, so the pixel art stays sharp whatever
    // the viewer does with the image.
    const int enlarged = std::max(1, int(std::ceil(scale)));
    const QImage sharp = picture.scaled(picture.size() * enlarged, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    painter.drawImage(QRectF(label + QPointF(border, border), QSizeF(picture.size()) * scale), sharp);
}

void drawField(Page& page, const Content& content)
{
    QPainter& painter = page.painter();
    const double scale = chartScale(page.dpi());
    const QRect area = fieldRect(page.dpi());
    QFont labelFont(faceName);
    labelFont.setStyleHint(QFont::SansSerif);
    labelFont.setPixelSize(labelPixels);
    const int pen = std::max(1, qRound(page.mm(lineWidth)));
    FieldChart chart(painter, area.topLeft(), chartInterior, scale, pen, labelFont);

    // The field's own frame, as the window's panel holds it.
    painter.setPen(QPen(ruleColour, page.mm(0.3)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(area).adjusted(-page.mm(0.5), -page.mm(0.5), page.mm(0.5), page.mm(0.5)));

    if (content.options.blank) {
        chart.drawAxisLabels();
        chart.drawGrid();
        return;
    }
    // The window's picture: the start, then every click it could finish,
    // in order. A long chase would repeat the grid for every click; a
    // page keeps each repeat, so the steps go down as one.
    chart.drawStart(content.clicks.front().shown);
    std::vector<sim::Frame> steps;
    steps.reserve(content.clicks.size());
    for (std::size_t i = 1; i < content.clicks.size(); ++i)
        if (content.clicks[i].fault == sim::Fault::none)
            steps.push_back(content.clicks[i].shown);
    chart.drawSteps(steps);

    if (content.options.exact && content.exact.path.size() >= 2) {
        const Surface& s = chart.surface();
        const QRect frame = QRect(QPoint(s.deviceX(sim::frameLeft), s.deviceY(sim::frameTop)),
                                  QPoint(s.deviceX(sim::frameRight) + pen - 1, s.deviceY(sim::frameBottom) + pen - 1))
                                .translated(area.topLeft());
        painter.save();
        painter.setClipRect(frame);
        painter.setRenderHint(QPainter::Antialiasing);
        QPen dashed(exactColour, page.mm(exactWidth), Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
        dashed.setDashPattern({5, 3});
        painter.setPen(dashed);
        painter.drawPolyline(exactPolyline(chart, area.topLeft(), content.exact.path));
        painter.restore();
    }

    const sim::Frame& last = content.clicks.back().shown;
    drawMarker(painter, chart, area.topLeft(), scale, last.mouseMarker, QImage(QStringLiteral(":/pictures/mouse.png")));
    drawMarker(painter, chart, area.topLeft(), scale, last.dogMarker, QImage(QStringLiteral(":/pictures/dog.png")));
}

void drawLegend(Page& page, const Content& content, double top)
{
    const QFont f = Page::font(9);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter;
    page.text(page.rect(margin, top, contentWidth, 5), Qt::AlignRight | Qt::AlignVCenter,
              QStringLiteral("方眼の１目盛り＝１０ｍ"), f);
    if (content.options.blank) {
        page.text(page.rect(margin, top, contentWidth, 5), flags,
                  QStringLiteral("表に読み取った位置を、ねずみは赤、犬は青で図にかきこみましょう。"), f);
        return;
    }
    double x = margin;
    const auto swatch = [&](const QColor& colour, const QString& label) {
        page.painter().fillRect(page.rect(x, top + 1.2, 2.6, 2.6), colour);
        page.text(page.rect(x + 3.8, top, 40, 5), flags, label, f);
        x += 34;
    };
    swatch(Surface::paletteColour(FieldChart::mouseColour), QStringLiteral("ねずみの跡"));
    swatch(Surface::paletteColour(FieldChart::dogColour), QStringLiteral("犬の跡"));
    if (content.options.exact) {
        QPen dashed(exactColour, page.mm(exactWidth), Qt::CustomDashLine, Qt::FlatCap);
        dashed.setDashPattern({5, 3});
        page.painter().setPen(dashed);
        page.painter().drawLine(QPointF(page.mm(x), page.mm(top + 2.5)), QPointF(page.mm(x + 8), page.mm(top + 2.5)));
        page.text(page.rect(x + 10, top, 60, 5), flags, QStringLiteral("厳密な犬の道すじ"), f);
    }
}

struct Column {
    QString header;
    double width; // millimetres
};

std::vector<Column> columnsOf(bool exact)
{
    if (!exact)
        return {{QStringLiteral("クリック"), 16},
                {QStringLiteral("ねずみの\n位置ｘ"), 26},
                {QStringLiteral("ねずみの\n位置ｙ"), 26},
                {QStringLiteral("犬の\n位置ｘ"), 26},
                {QStringLiteral("犬の\n位置ｙ"), 26},
                {QStringLiteral("秒経過"), 26},
                {QStringLiteral("追いついた\n音"), 34}};
    return {{QStringLiteral("クリック"), 13},
            {QStringLiteral("ねずみの\n位置ｘ"), 17},
            {QStringLiteral("ねずみの\n位置ｙ"), 17},
            {QStringLiteral("犬の\n位置ｘ"), 17},
            {QStringLiteral("犬の\n位置ｙ"), 17},
            {QStringLiteral("秒経過"), 17},
            {QStringLiteral("追いついた\n音"), 19},
            {QStringLiteral("厳密な犬の\n位置ｘ"), 21},
            {QStringLiteral("厳密な犬の\n位置ｙ"), 21},
            {QStringLiteral("ずれ"), 21}};
}

// The texts of one row: the click, the table tool's read-outs and cue,
// and with --exact its exact columns. Empty cells on a blank sheet.
QStringList rowTexts(const Content& content, int click)
{
    const Click& c = content.clicks[std::size_t(click)];
    QStringList cells{QString::number(click)};
    const int valueCells = content.options.exact ? 9 : 6;
    if (content.options.blank) {
        for (int i = 0; i < valueCells; ++i)
            cells << QString();
        return cells;
    }
    const sim::Readouts& r = c.shown.readouts;
    for (const float value : {r.mouseX, r.mouseY, r.dogX, r.dogY, r.seconds})
        cells << fromUtf8(number_text::formatReadout(value));
    cells << (c.fault != sim::Fault::none ? QStringLiteral("エラー※")
              : c.catchCue                ? QStringLiteral("鳴った")
                                          : QString());
    if (content.options.exact) {
        const Exact& e = content.exact;
        const std::optional<sim::exact::Point> dog = sim::exact::dogAt(e.u, e.v, r.seconds);
        if (dog) {
            for (const double value : {dog->x, dog->y, sim::exact::distanceFromShown(r, *dog)})
                cells << fromUtf8(number_text::formatFixed(value, 3));
        } else {
            cells << QStringLiteral("－") << QStringLiteral("－") << QStringLiteral("－");
        }
    }
    return cells;
}

QString captionOf(const Content& content)
{
    const int last = int(content.clicks.size()) - 1;
    const QString every = content.every == 1 ? QStringLiteral("毎回")
                                             : QStringLiteral("%1 回ごと").arg(content.every);
    return QStringLiteral("［次へ］を %1 回クリックしたときの記録（%2）").arg(last).arg(every);
}

void drawTable(Page& page, const Content& content)
{
    const std::vector<Column> columns = columnsOf(content.options.exact);
    const double rowH = content.options.blank ? blankRowHeight : rowHeight;
    page.text(page.rect(margin, tableTop, contentWidth, captionHeight), Qt::AlignLeft | Qt::AlignVCenter,
              captionOf(content), Page::font(10, true));

    const double top = tableTop + captionHeight;
    const double bottom = top + headerHeight + rowH * double(content.listed.size());
    page.painter().fillRect(page.rect(margin, top, contentWidth, headerHeight), headerFill);

    // Rows and their rules.
    const QFont numbers = Page::font(8.5);
    double y = top + headerHeight;
    for (const int click : content.listed) {
        const QStringList cells = rowTexts(content, click);
        double x = margin;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const bool centred = i == 0 || i == 6;
            const QRectF cell = page.rect(x + 1.5, y, columns[i].width - 3.0, rowH);
            page.text(cell, (centred ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter,
                      cells[qsizetype(i)], numbers);
            x += columns[i].width;
        }
        y += rowH;
        if (y < bottom - 0.01)
            page.line({margin, y}, {margin + contentWidth, y}, 0.1, ruleColour);
    }

    // Headers, column rules and the outline.
    const QFont heading = Page::font(8, true);
    double x = margin;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        page.text(page.rect(x, top, columns[i].width, headerHeight), Qt::AlignCenter, columns[i].header, heading);
        x += columns[i].width;
        if (i + 1 < columns.size())
            page.line({x, top}, {x, bottom}, i == 0 || i == 6 ? 0.25 : 0.1, i == 0 || i == 6 ? Qt::black : ruleColour);
    }
    page.line({margin, top + headerHeight}, {margin + contentWidth, top + headerHeight}, 0.25);
    page.painter().setPen(QPen(Qt::black, page.mm(0.35)));
    page.painter().setBrush(Qt::NoBrush);
    page.painter().drawRect(page.rect(margin, top, contentWidth, bottom - top));

    // The notes under the table.
    const QFont note = Page::font(9.5);
    double noteTop = bottom + 2.0;
    const auto addNote = [&](const QString& text) {
        page.text(page.rect(margin, noteTop, contentWidth, 5), Qt::AlignLeft | Qt::AlignVCenter, text, note);
        noteTop += 5.0;
    };
    if (content.options.exact) {
        const Exact& e = content.exact;
        if (content.options.blank)
            addNote(QStringLiteral("厳密な追いかけっこで犬がねずみに追いつく時刻：　　　　　　　　秒"));
        else if (!e.available)
            addNote(QStringLiteral("厳密な追いかけっこは計算できません（犬の速度ｖが０以下か、速度が大きすぎます）。"));
        else if (e.catchTime)
            addNote(QStringLiteral("厳密な追いかけっこで犬がねずみに追いつく時刻：%1 秒")
                        .arg(fromUtf8(number_text::formatFixed(*e.catchTime, 3))));
        else
            addNote(QStringLiteral("厳密な追いかけっこでは、犬はねずみに追いつきません（ねずみが犬より速いか、同じ速さです）。"));
    }
    const bool faulted = std::any_of(content.listed.begin(), content.listed.end(), [&](int click) {
        return content.clicks[std::size_t(click)].fault != sim::Fault::none;
    });
    if (faulted && !content.options.blank)
        addNote(QStringLiteral("※エラー：計算できなかったクリックです。位置と秒経過は前のクリックのままです。"));
}

} // namespace

int rowsThatFit(bool blank)
{
    const double room = pageBottom - notesHeight - (tableTop + captionHeight + headerHeight);
    return int(room / (blank ? blankRowHeight : rowHeight));
}

QRect fieldRect(double dpi)
{
    const double scale = chartScale(dpi);
    const QPoint origin(qRound(margin / 25.4 * dpi), qRound(fieldTop / 25.4 * dpi));
    return {origin, QSize(qRound(chartInterior.width() * scale), qRound(chartInterior.height() * scale))};
}

void paintPage(QPainter& painter, double dpi, const Content& content)
{
    Page page(painter, dpi);
    drawHeading(page, content);
    drawField(page, content);
    const double fieldBottom = (fieldRect(dpi).bottom() + 1) / dpi * 25.4;
    drawLegend(page, content, fieldBottom + 2.5);
    drawTable(page, content);
}

int writeSheet(const Content& content, std::string& error)
{
    const QString& name = content.options.file;
    QSaveFile file(name);
    const auto fail = [&](const QString& why) {
        file.cancelWriting();
        error = ("書き込めません: " + name + ": " + why + " / cannot write " + name + ": " + why).toStdString();
        return 1;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());

    bool painted = false;
    switch (content.options.format) {
    case Format::pdf: {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(int(pdfDpi));
        writer.setTitle(titleText);
        writer.setCreator(QStringLiteral("torvikan-sheet"));
        QPainter painter;
        if ((painted = painter.begin(&writer))) {
            // The pictures keep every pixel: no lossy compression.
            painter.setRenderHint(QPainter::LosslessImageRendering);
            paintPage(painter, pdfDpi, content);
            painted = painter.end();
        }
        break;
    }
    case Format::svg: {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setResolution(int(svgDpi));
        generator.setSize(pageSizeAt(svgDpi));
        generator.setViewBox(QRect(QPoint(0, 0), pageSizeAt(svgDpi)));
        generator.setTitle(titleText);
        QPainter painter;
        if ((painted = painter.begin(&generator))) {
            paintPage(painter, svgDpi, content);
            painted = painter.end();
        }
        break;
    }
    case Format::png: {
        QImage image(pageSizeAt(pngDpi), QImage::Format_RGB32);
        const int dotsPerMetre = qRound(pngDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintPage(painter, pngDpi, content);
        painter.end();
        painted = image.save(&file, "PNG");
        break;
    }
    }
    if (!painted)
        return fail(QStringLiteral("描画できませんでした / drawing failed"));
    if (!file.commit())
        return fail(file.errorString());
    return 0;
}

} // namespace sheet
