#pragma once

#include <QPoint>
#include <QRect>

#include <cmath>

// Window layouts are written in twips, 1/1440 inch: 15 twips make one
// logical pixel at 96 dpi. Qt's own high-DPI scaling takes it from there.
constexpr int twipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    // Round half away from zero, so a layout mirrored about 0 stays mirrored.
    return twips >= 0 ? (twips + twipsPerPixel / 2) / twipsPerPixel
                      : -((-twips + twipsPerPixel / 2) / twipsPerPixel);
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// Font sizes are given in points for a 96 dpi desktop; widgets get them in
// pixels so text fits the fixed layout whatever the desktop's font DPI.
inline int pointsToPixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }
