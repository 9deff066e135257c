#pragma once

#include <cmath>

// The windows were drawn in twips, 1/1440 inch: 15 twips make one logical
// pixel at 96 dpi, and the forms hold the pixels. The help box still
// prints in twips; Qt's own high-DPI scaling takes it from logical pixels.
constexpr int twipsPerPixel = 15;

// Font sizes are given in points for a 96 dpi desktop; widgets get them in
// pixels so text fits the fixed layout whatever the desktop's font DPI.
inline int pointsToPixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }
