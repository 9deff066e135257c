// torvikan-sheet's pages: the heading, the field with its legend, and where
// the table goes.

#include "sheet_page.h"

#include "field_chart.h"
#include "lettering.h"
#include "painter_canvas.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

constexpr QSize chartInterior(fieldPixelsWide, fieldPixelsHigh);

const QColor exactColour(exactPathColour.red, exactPathColour.green, exactPathColour.blue);

// The face the window falls back on where it lacks its own, which every
// machine that makes sheets has from the same font package.
const QString faceName = QString::fromUtf8(lettering::japaneseSubstitutes[0]);

// Device pixels per logical pixel of the chart.
double chartScale(double dpi) { return dotsOf(contentWidth, dpi) / chartInterior.width(); }

void drawHeading(Page& page, const Content& content)
{
    page.text(page.rect(margin, titleTop, contentWidth, 9), Qt::AlignLeft | Qt::AlignVCenter, qText(titleText),
        Page::font(15, true));
    // Room for the pupil's class and name, on a line of its own.
    const double nameLine = 40.0;
    page.text(page.rect(margin, titleTop, contentWidth - nameLine - 1.0, 9), Qt::AlignRight | Qt::AlignBottom,
        qText(nameText), Page::font(10));
    page.line({pageWidth - margin - nameLine, titleTop + 9.0}, {pageWidth - margin, titleTop + 9.0}, 0.2);

    page.text(page.rect(margin, inputsTop, contentWidth, 6), Qt::AlignLeft | Qt::AlignVCenter,
        qText(inputsText(content.options)), Page::font(11));
}

void drawPageNumber(Page& page, int number, int count)
{
    page.text(page.rect(margin, pageNumberTop, contentWidth, 5), Qt::AlignCenter,
        qText(pageNumberText(number, count)), Page::font(9));
}

// A picture where the window places its marker: the label's top-left
// corner at markerPixel, the picture inside its sunken frame. Only its part
// on the field is drawn, as the window clips it, cut here rather than by a
// clip, which an SVG of Qt's does not keep.
void drawMarker(QPainter& painter, const QRect& area, double scale, sim::ChartPoint marker, const QImage& picture)
{
    if (picture.isNull())
        return;
    const QRectF field(area);
    const auto fill = [&](const QRectF& r, const QColor& colour) {
        if (const QRectF shown = r.intersected(field); !shown.isEmpty())
            painter.fillRect(shown, colour);
    };
    const chart::PixelPoint at = chart::markerPixel(marker, {chartInterior.width(), chartInterior.height()});
    const QPointF label = QPointF(at.x, at.y) * scale + QPointF(area.topLeft());
    const QSizeF outer = QSizeF(picture.size() + QSize(2 * markerBorder, 2 * markerBorder)) * scale;
    const double border = markerBorder * scale;
    fill(QRectF(label, QSizeF(outer.width(), border)), QColor(128, 128, 128));
    fill(QRectF(label, QSizeF(border, outer.height())), QColor(128, 128, 128));
    fill(QRectF(label.x(), label.y() + outer.height() - border, outer.width(), border), QColor(212, 212, 212));
    fill(QRectF(label.x() + outer.width() - border, label.y(), border, outer.height()), QColor(212, 212, 212));
    // Enlarged without smoothing, so the pixel art stays sharp whatever
    // the viewer does with the image.
    const int enlarged = std::max(1, int(std::ceil(scale)));
    const QImage sharp = picture.scaled(picture.size() * enlarged, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRectF target(label + QPointF(border, border), QSizeF(picture.size()) * scale);
    const QRectF shown = target.intersected(field);
    if (shown == target) {
        painter.drawImage(target, sharp);
    } else if (!shown.isEmpty()) {
        const double across = sharp.width() / target.width(), down = sharp.height() / target.height();
        painter.drawImage(shown, sharp,
            QRectF((shown.x() - target.x()) * across, (shown.y() - target.y()) * down, shown.width() * across,
                shown.height() * down));
    }
}

// The dashed line of the exact path, and under it its casing.
void setExactPen(Page& page, bool casing)
{
    const double width = exactPathWidth + (casing ? 2 * exactPathCasing : 0.0);
    QPen pen(casing ? Qt::white : exactColour, page.dots(width), casing ? Qt::SolidLine : Qt::CustomDashLine,
        Qt::FlatCap, Qt::RoundJoin);
    if (!casing)
        pen.setDashPattern({5, 3});
    page.painter().setPen(pen);
}

void drawExactPath(
    Page& page, const chart::FieldChart& chart, QPoint origin, const std::vector<sim::exact::Point>& path)
{
    const chart::Mapping& m = chart.mapping();
    QPolygonF line;
    // Cut at the frame, as well as clipped to it, for an SVG, which keeps
    // no clipping.
    for (const sim::exact::Point& p :
        pathInside(path, 0.0, 0.0, sim::displayX(sim::frameRight), sim::displayY(sim::frameTop)))
        line << QPointF(origin.x() + m.x(sim::chartX(p.x)), origin.y() + m.y(sim::chartY(p.y)));
    const chart::PixelRect box = chart.frameBox();
    const QRect frame = QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom)).translated(origin);
    QPainter& painter = page.painter();
    painter.save();
    painter.setClipRect(frame);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const bool casing : {true, false}) {
        setExactPen(page, casing);
        painter.drawPolyline(line);
    }
    painter.restore();
}

void drawField(Page& page, const Content& content)
{
    QPainter& painter = page.painter();
    const double scale = chartScale(page.dpi());
    const QRect area = fieldRect(page.dpi());
    QFont labelFace(faceName);
    labelFace.setStyleHint(QFont::SansSerif);
    const chart::FieldChart chart = fieldChart(content.options, scale, page.dots(1.0));
    PainterCanvas canvas(painter, area.topLeft(), labelFace);

    // The field's own frame, as the window's panel holds it.
    painter.setPen(QPen(ruleColour, page.dots(0.3)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(area).adjusted(-page.dots(0.5), -page.dots(0.5), page.dots(0.5), page.dots(0.5)));

    sheet::drawChase(canvas, chart, content);
    if (content.options.blank)
        return;

    if (content.options.exact && content.exact.path.size() >= 2)
        drawExactPath(page, chart, area.topLeft(), content.exact.path);

    // The pictures lie on the field, clipped to it as the window clips
    // them: a dog far above the field or a mouse past its right edge
    // leaves the labels and the table alone.
    const sim::Frame& last = content.clicks.back().shown;
    painter.save();
    painter.setClipRect(area);
    drawMarker(painter, area, scale, last.mouseMarker, QImage(QStringLiteral(":/pictures/mouse.png")));
    drawMarker(painter, area, scale, last.dogMarker, QImage(QStringLiteral(":/pictures/dog.png")));
    painter.restore();
}

void drawLegend(Page& page, const Content& content, double top)
{
    const QFont f = Page::font(9);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter;
    const int grid = content.options.grid;
    page.text(page.rect(margin, top, contentWidth, 5), Qt::AlignRight | Qt::AlignVCenter, qText(gridText(grid)), f);
    if (content.options.blank) {
        page.text(page.rect(margin, top, 120, 5), flags, qText(blankLegendText), f);
        return;
    }
    // The swatches look like the trails: the mouse's marks are outlines.
    QPainter& painter = page.painter();
    const QRectF mouse = page.rect(margin, top + 1.2, 2.6, 2.6);
    const double outline = page.dots(lineWidth);
    painter.setPen(
        QPen(toQColor(chart::mouseColour), outline, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(mouse.adjusted(outline / 2, outline / 2, -outline / 2, -outline / 2));
    page.text(page.rect(margin + 3.8, top, 40, 5), flags, qText(mouseTrailText), f);
    painter.fillRect(page.rect(margin + 34, top + 1.2, 2.6, 2.6), toQColor(chart::dogColour));
    page.text(page.rect(margin + 37.8, top, 40, 5), flags, qText(dogTrailText), f);
    if (content.options.exact) {
        setExactPen(page, false);
        painter.drawLine(page.point(margin + 68, top + 2.5), page.point(margin + 76, top + 2.5));
        page.text(page.rect(margin + 78, top, 60, 5), flags, qText(exactPathText), f);
    }
}

// The larger view of the record's end under the legend, as the lesson lays
// it out: the field's marks and path, and its own grid and numbers.
void drawInset(Page& page, const Inset& inset)
{
    QPainter& painter = page.painter();
    const QFont f = Page::font(insetLabelPoints);
    page.text(page.rect(margin, insetTop, contentWidth, insetCaptionHeight), Qt::AlignLeft | Qt::AlignVCenter,
        qText(inset.caption), Page::font(insetCaptionPoints));
    const QRectF box = page.rect(inset.box.left, inset.box.top, inset.box.width, inset.box.height);
    const auto at = [&](const PagePoint& p) { return page.point(p.x, p.y); };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor grid = toQColor(insetGridColour);
    const PageRect& b = inset.box;
    for (const double x : inset.gridX)
        page.line({x, b.top}, {x, b.top + b.height}, insetGridWidth, grid);
    for (const double y : inset.gridY)
        page.line({b.left, y}, {b.left + b.width, y}, insetGridWidth, grid);
    QPolygonF line;
    for (const PagePoint& p : inset.path)
        line << at(p);
    for (const bool casing : {true, false}) {
        setExactPen(page, casing);
        painter.drawPolyline(line);
    }
    const double outline = page.dots(lineWidth);
    painter.setPen(QPen(toQColor(chart::mouseColour), outline, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const double mouse = page.dots(insetMouseMark) - outline;
    for (const PagePoint& p : inset.mouse)
        painter.drawRect(QRectF(at(p) - QPointF(mouse / 2, mouse / 2), QSizeF(mouse, mouse)));
    const double dog = page.dots(insetDogMark);
    for (const PagePoint& p : inset.dog)
        painter.fillRect(QRectF(at(p) - QPointF(dog / 2, dog / 2), QSizeF(dog, dog)), toQColor(chart::dogColour));
    painter.restore();
    painter.setPen(QPen(Qt::black, page.dots(insetFrameWidth)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    for (const InsetLabel& label : inset.labels)
        page.text(page.rect(label.area.left, label.area.top, label.area.width, label.area.height),
            (label.alignRight ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter, qText(label.text), f);
}

} // namespace

QFont Page::font(double points, bool bold)
{
    QFont f(faceName);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    return f;
}

void Page::text(const QRectF& r, int flags, const QString& s, const QFont& f)
{
    QFont fitted = f;
    if (!(flags & Qt::TextWordWrap) && !s.contains(u'\n')) {
        const double width = QFontMetricsF(f, m_painter.device()).horizontalAdvance(s);
        if (width > r.width())
            fitted.setPointSizeF(f.pointSizeF() * r.width() / width * 0.98);
    }
    m_painter.setFont(fitted);
    m_painter.setPen(Qt::black);
    m_painter.drawText(r, flags, s);
}

void Page::line(QPointF from, QPointF to, double width, const QColor& colour)
{
    m_painter.setPen(QPen(colour, dots(width), Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(point(from.x(), from.y()), point(to.x(), to.y()));
}

QRect fieldRect(double dpi)
{
    const double scale = chartScale(dpi);
    const QPoint origin(qRound(dotsOf(margin, dpi)), qRound(dotsOf(fieldTop, dpi)));
    return {origin, QSize(qRound(chartInterior.width() * scale), qRound(chartInterior.height() * scale))};
}

void paintPage(QPainter& painter, double dpi, const Content& content, int number)
{
    paintPage(painter, dpi, content, tableParts(content), number);
}

void paintPage(QPainter& painter, double dpi, const Content& content, const std::vector<TablePart>& parts, int number)
{
    Page page(painter, dpi);
    drawHeading(page, content);
    if (number == 0) {
        drawField(page, content);
        const double fieldBottom = (fieldRect(dpi).bottom() + 1) / dpi * 25.4;
        drawLegend(page, content, fieldBottom + 2.5);
        if (const Inset inset = insetOf(content); inset.shown)
            drawInset(page, inset);
    }
    for (const TablePart& part : parts)
        if (part.page == number)
            drawTable(page, content, part, &part == &parts.back());
    if (parts.back().page > 0)
        drawPageNumber(page, number, parts.back().page + 1);
}

} // namespace sheet
