#include "field_chart.h"

namespace {

// The label column left of the field, and how far below the field the row
// of x values starts: only two metres are left below that row, so the
// labels need a font about two metres high.
constexpr float labelColumnX = 3.0f;
constexpr float unitLabelY = 6.0f;
constexpr float labelRowBelowFrame = 8.0f;

QString labelText(int metres) { return QStringLiteral("%1").arg(metres, 2); }

} // namespace

FieldChart::FieldChart(QSize interior, qreal devicePixelRatio, const QFont& labelFont)
    : m_surface(interior, QSizeF(sim::chartWidth, sim::chartHeight), devicePixelRatio)
    , m_logicalScale(interior, QSizeF(sim::chartWidth, sim::chartHeight))
{
    m_surface.setFont(labelFont);
}

FieldChart::FieldChart(QPainter& painter, QPoint origin, QSize interior, qreal devicePixelRatio, int lineWidth,
                       const QFont& labelFont, Style style)
    : m_surface(painter, origin, interior, QSizeF(sim::chartWidth, sim::chartHeight), devicePixelRatio, lineWidth)
    , m_logicalScale(interior, QSizeF(sim::chartWidth, sim::chartHeight))
    , m_style(style)
{
    m_surface.setFont(labelFont);
}

void FieldChart::drawStart(const sim::Frame& frame)
{
    // The start marks go down before the grid, so the frame's lines run
    // over their edges; on every click the grid comes first and the newest
    // marks lie on top of it.
    drawAxisLabels();
    drawMarks(frame);
    drawGrid();
}

void FieldChart::drawStep(const sim::Frame& frame)
{
    drawGrid();
    drawMarks(frame);
}

void FieldChart::drawMarks(const sim::Frame& frame)
{
    if (m_style.outlinedMouseMarks)
        m_surface.box({frame.mouseMark.corner.x, frame.mouseMark.corner.y},
                      {frame.mouseMark.opposite.x, frame.mouseMark.opposite.y}, mouseColour);
    else
        drawTrailMark(frame.mouseMark, mouseColour);
    drawTrailMark(frame.dogMark, dogColour);
}

void FieldChart::drawSteps(std::span<const sim::Frame> frames)
{
    if (frames.empty())
        return;
    for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
        if (i > 0 && frames[i].mouseMark == frames[i - 1].mouseMark && frames[i].dogMark == frames[i - 1].dogMark)
            continue;
        drawMarks(frames[i]);
    }
    drawStep(frames.back());
}

void FieldChart::clearChart() { m_surface.clear(); }

QList<FieldChart::AxisLabel> FieldChart::axisLabels()
{
    QList<AxisLabel> labels{{labelColumnX, unitLabelY, QStringLiteral("ｍ")}};
    const int height = int(sim::displayY(sim::frameTop));
    for (int metres = height; metres >= 0; metres -= sim::gridSpacing)
        labels.append({labelColumnX, float(sim::chartY(metres)) - 1.0f, labelText(metres)});
    const int width = int(sim::displayX(sim::frameRight));
    for (int metres = 0; metres <= width; metres += sim::gridSpacing)
        labels.append({float(sim::chartX(metres)) - 1.0f, sim::frameBottom + labelRowBelowFrame, labelText(metres)});
    return labels;
}

void FieldChart::drawAxisLabels()
{
    for (const AxisLabel& label : axisLabels()) {
        m_surface.setCurrentX(label.x);
        m_surface.setCurrentY(label.y);
        m_surface.print(label.text);
    }
}

void FieldChart::drawGrid()
{
    const int left = int(sim::frameLeft);
    const int right = int(sim::frameRight);
    const int top = int(sim::frameTop);
    const int bottom = int(sim::frameBottom);
    if (m_style.fineGrid > 0) {
        for (int y = top + m_style.fineGrid; y < bottom; y += m_style.fineGrid)
            m_surface.line(QPointF(left, y), QPointF(right, y), fineGridColour);
        for (int x = left + m_style.fineGrid; x < right; x += m_style.fineGrid)
            m_surface.line(QPointF(x, top), QPointF(x, bottom), fineGridColour);
    }
    for (int y = top; y <= bottom; y += sim::gridSpacing)
        m_surface.line(QPointF(left, y), QPointF(right, y), gridColour);
    m_surface.box(QPointF(left, top), QPointF(right, bottom), gridColour);
    for (int x = left; x <= right; x += sim::gridSpacing)
        m_surface.line(QPointF(x, top), QPointF(x, bottom), gridColour);
}

void FieldChart::drawTrailMark(const sim::TrailMark& mark, int colour)
{
    m_surface.filledBox({mark.corner.x, mark.corner.y}, {mark.opposite.x, mark.opposite.y}, colour);
}

QPoint FieldChart::markerPixel(sim::ChartPoint topLeft) const
{
    return {m_logicalScale.x(topLeft.x), m_logicalScale.y(topLeft.y)};
}
