#include "mapping.h"

#include <algorithm>
#include <cmath>

namespace chart {
namespace {

// Far enough outside any area to be invisible, small enough for int maths.
constexpr double coordinateLimit = 1.0e6;

int toPixel(double user, double scale)
{
    const double d = std::floor(user * scale);
    if (std::isnan(d))
        return static_cast<int>(-coordinateLimit);
    return static_cast<int>(std::clamp(d, -coordinateLimit, coordinateLimit));
}

} // namespace

Mapping::Mapping(int pixelsWide, int pixelsHigh, double unitsWide, double unitsHigh)
    : m_scaleX(pixelsWide / unitsWide)
    , m_scaleY(pixelsHigh / unitsHigh)
{
}

int Mapping::x(double userX) const { return toPixel(userX, m_scaleX); }
int Mapping::y(double userY) const { return toPixel(userY, m_scaleY); }

} // namespace chart
