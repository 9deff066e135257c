#include "field_chart.h"

#include <array>
#include <cmath>

FieldChart::FieldChart(qreal devicePixelRatio, const QFont& labelFont)
    : m_surface(interiorSize, QSizeF(unitsAcross, unitsDown), devicePixelRatio)
{
    m_surface.setFont(labelFont);
}

QPoint FieldChart::markerPixel(sim::ChartPoint topLeft)
{
    // The surface's own mapping, at one device pixel per logical pixel.
    static const UserScale logical(interiorSize, QSizeF(unitsAcross, unitsDown));
    return {logical.x(topLeft.x), logical.y(topLeft.y)};
}

void FieldChart::drawAxisLabels()
{
    struct Label {
        float x;
        float y;
        const char16_t* text;
    };
    // The unit, the y values one unit above their lines, then the x values
    // one unit left of their lines and 8 units below the field.
    static constexpr std::array<Label, 18> labels = {{
        {3, 6, u"ｍ"},    {3, 9, u"50"},    {3, 19, u"40"},   {3, 29, u"30"},   {3, 39, u"20"},
        {3, 49, u"10"},   {3, 59, u" 0"},   {9, 68, u" 0"},   {19, 68, u"10"},  {29, 68, u"20"},
        {39, 68, u"30"},  {49, 68, u"40"},  {59, 68, u"50"},  {69, 68, u"60"},  {79, 68, u"70"},
        {89, 68, u"80"},  {99, 68, u"90"},  {109, 68, u"100"},
    }};
    for (const Label& l : labels) {
        m_surface.setCurrentX(l.x);
        m_surface.setCurrentY(l.y);
        m_surface.print(QString::fromUtf16(l.text));
    }
}

void FieldChart::drawGrid()
{
    for (int y = 10; y <= 60; y += 10)
        m_surface.line({10, double(y)}, {110, double(y)}, black);
    m_surface.box({10, 10}, {110, 60}, black);
    for (int x = 10; x <= 110; x += 10)
        m_surface.line({double(x), 10}, {double(x), 60}, black);
}

void FieldChart::drawTrailMark(const sim::TrailMark& mark, int colour)
{
    m_surface.filledBox({mark.corner.x, mark.corner.y}, {mark.opposite.x, mark.opposite.y}, colour);
}

void FieldChart::clearChart() { m_surface.clear(); }
