#pragma once

#include "layout.h"

#include <span>

// The help window: client area 9255 × 7440 twips (617 × 496 pixels).
inline constexpr int helpWindowWidthTwips = 9255;
inline constexpr int helpWindowHeightTwips = 7440;

// The help box's drawable interior, in twips: the box less its 2-pixel
// border on each side. The text is printed in this scale.
inline constexpr int helpBoxInteriorWidthTwips = 8955;
inline constexpr int helpBoxInteriorHeightTwips = 6795;

std::span<const ControlSpec> helpWindowLayout();
