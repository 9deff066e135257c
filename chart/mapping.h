#pragma once

namespace chart {

// User units (chart metres, twips) over an area of whole pixels: a
// coordinate maps to the pixel that holds it. Far-off coordinates are
// clamped, so a chase that ran wild draws nothing rather than overflowing
// an int.
class Mapping {
public:
    Mapping(int pixelsWide, int pixelsHigh, double unitsWide, double unitsHigh);
    int x(double userX) const;
    int y(double userY) const;

private:
    double m_scaleX; // pixels per user unit
    double m_scaleY;
};

} // namespace chart
