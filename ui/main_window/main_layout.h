#pragma once

#include "layout.h"

#include <span>

// The main window: client area 10215 × 9360 twips (681 × 624 pixels).
inline constexpr int mainWindowWidthTwips = 10215;
inline constexpr int mainWindowHeightTwips = 9360;

std::span<const ControlSpec> mainWindowLayout();
