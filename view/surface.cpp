#include "surface.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace {
// Far enough outside any image to be invisible, small enough for int maths.
constexpr double coordinateLimit = 1.0e6;

int toDevice(double user, double scale)
{
    const double d = std::floor(user * scale);
    if (std::isnan(d))
        return static_cast<int>(-coordinateLimit);
    return static_cast<int>(std::clamp(d, -coordinateLimit, coordinateLimit));
}
} // namespace

UserScale::UserScale(QSize pixels, QSizeF userSize)
    : m_scaleX(pixels.width() / userSize.width())
    , m_scaleY(pixels.height() / userSize.height())
{
}

int UserScale::x(double userX) const { return toDevice(userX, m_scaleX); }
int UserScale::y(double userY) const { return toDevice(userY, m_scaleY); }

namespace {
QSize devicePixels(QSize logical, qreal dpr)
{
    return {qRound(logical.width() * dpr), qRound(logical.height() * dpr)};
}
} // namespace

Surface::Surface(QSize logicalSize, QSizeF userSize, qreal dpr, QColor background)
    : m_userSize(userSize)
    , m_dpr(dpr > 0 ? dpr : 1.0)
    , m_bounds(QPoint(0, 0), devicePixels(logicalSize, m_dpr))
    , m_scale(m_bounds.size(), userSize)
    , m_background(background)
{
    m_lineWidth = std::max(1, qRound(m_dpr));
    m_image = QImage(m_bounds.size(), QImage::Format_RGB32);
    m_image.fill(m_background);
    m_dirty = m_bounds;
}

Surface::Surface(QPainter& painter, QPoint origin, QSize logicalSize, QSizeF userSize, qreal dpr, int lineWidth,
                 QColor background)
    : m_userSize(userSize)
    , m_dpr(dpr > 0 ? dpr : 1.0)
    , m_bounds(QPoint(0, 0), devicePixels(logicalSize, m_dpr))
    , m_scale(m_bounds.size(), userSize)
    , m_painter(&painter)
    , m_origin(origin)
    , m_lineWidth(std::max(1, lineWidth))
    , m_background(background)
{
}

QColor Surface::paletteColour(int index)
{
    // The classic 16-colour palette of the BASIC family: dark colours 0-7,
    // bright ones 8-15, blue in bit 0, green in bit 1, red in bit 2. So 9 is
    // bright blue and 12 bright red.
    static constexpr std::array<QRgb, 16> basic = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
        0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    if (index < 0 || index > 15)
        return QColor(Qt::black);
    return QColor::fromRgb(basic[static_cast<std::size_t>(index)]);
}

void Surface::clear()
{
    if (m_painter)
        m_painter->fillRect(m_bounds.translated(m_origin), m_background);
    else
        m_image.fill(m_background);
    markDirty(m_bounds);
    m_currentX = 0.0;
    m_currentY = 0.0;
}

void Surface::fill(int left, int top, int right, int bottom, const QColor& colour)
{
    const QRect r = QRect(QPoint(left, top), QPoint(right, bottom)).intersected(m_bounds);
    if (r.isEmpty())
        return;
    if (m_painter) {
        m_painter->fillRect(r.translated(m_origin), colour);
        return;
    }
    const QRgb rgb = colour.rgb();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        std::fill(row + r.left(), row + r.right() + 1, rgb);
    }
    markDirty(r);
}

void Surface::line(QPointF from, QPointF to, int colour)
{
    const int x1 = deviceX(from.x());
    const int y1 = deviceY(from.y());
    const int x2 = deviceX(to.x());
    const int y2 = deviceY(to.y());
    Q_ASSERT(x1 == x2 || y1 == y2);
    // A straight run of whole pixels, as wide as a 1-pixel pen.
    const int w = m_lineWidth - 1;
    fill(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + w, std::max(y1, y2) + w, paletteColour(colour));
}

void Surface::box(QPointF corner, QPointF opposite, int colour)
{
    const QColor c = paletteColour(colour);
    const int left = std::min(deviceX(corner.x()), deviceX(opposite.x()));
    const int right = std::max(deviceX(corner.x()), deviceX(opposite.x()));
    const int top = std::min(deviceY(corner.y()), deviceY(opposite.y()));
    const int bottom = std::max(deviceY(corner.y()), deviceY(opposite.y()));
    const int w = m_lineWidth - 1;
    fill(left, top, right + w, top + w, c);
    fill(left, bottom, right + w, bottom + w, c);
    fill(left, top, left + w, bottom + w, c);
    fill(right, top, right + w, bottom + w, c);
}

void Surface::filledBox(QPointF corner, QPointF opposite, int colour)
{
    // The box takes the pixels from just past its low edge up to and
    // including its high edge: 1 m of the field is then 5 or 6 pixels
    // whatever the fraction, and a box that ends on a grid line shares that
    // line's pixels, so the line drawn later runs over its edge.
    const int left = std::min(deviceX(corner.x()), deviceX(opposite.x()));
    const int right = std::max(deviceX(corner.x()), deviceX(opposite.x()));
    const int top = std::min(deviceY(corner.y()), deviceY(opposite.y()));
    const int bottom = std::max(deviceY(corner.y()), deviceY(opposite.y()));
    fill(left == right ? left : left + 1, top == bottom ? top : top + 1, right, bottom, paletteColour(colour));
}

void Surface::setFont(const QFont& font)
{
    m_font = font;
    if (font.pixelSize() > 0)
        m_font.setPixelSize(qRound(font.pixelSize() * m_dpr));
}

double Surface::lineHeight() const
{
    const double devicePerUnit = m_bounds.height() / m_userSize.height();
    const QFontMetricsF metrics = m_painter ? QFontMetricsF(m_font, m_painter->device()) : QFontMetricsF(m_font);
    return metrics.height() / devicePerUnit;
}

void Surface::print(const QString& text)
{
    if (!text.isEmpty() && m_painter) {
        const QFontMetricsF metrics(m_font, m_painter->device());
        const QPointF topLeft = QPointF(deviceX(m_currentX), deviceY(m_currentY)) + m_origin;
        m_painter->save();
        m_painter->setFont(m_font);
        m_painter->setPen(m_foreground);
        m_painter->drawText(topLeft + QPointF(0, metrics.ascent()), text);
        m_painter->restore();
    } else if (!text.isEmpty()) {
        QPainter p(&m_image);
        p.setFont(m_font);
        p.setPen(m_foreground);
        const QFontMetrics metrics(m_font);
        const QPoint topLeft(deviceX(m_currentX), deviceY(m_currentY));
        p.drawText(topLeft + QPoint(0, metrics.ascent()), text);
        markDirty(QRect(topLeft, QSize(metrics.horizontalAdvance(text) + 2, metrics.height())));
    }
    m_currentX = 0.0;
    m_currentY += lineHeight();
}

void Surface::markDirty(const QRect& deviceRect) { m_dirty |= deviceRect.intersected(m_bounds); }

QRect Surface::takeDirtyRect()
{
    const QRect d = m_dirty;
    m_dirty = QRect();
    if (d.isEmpty())
        return {};
    // Round outwards to whole logical pixels.
    const int left = static_cast<int>(std::floor(d.left() / m_dpr));
    const int top = static_cast<int>(std::floor(d.top() / m_dpr));
    const int right = static_cast<int>(std::ceil((d.right() + 1) / m_dpr));
    const int bottom = static_cast<int>(std::ceil((d.bottom() + 1) / m_dpr));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}
