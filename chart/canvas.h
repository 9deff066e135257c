#pragma once

#include "palette.h"

#include <string_view>

namespace chart {

// A rectangle of whole device pixels, both edges included.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    bool empty() const { return right < left || bottom < top; }
    bool operator==(const PixelRect&) const = default;
};

// Where a frame of the field is drawn: the window's retained image, a
// printed page, the page's canvas. Coordinates are device pixels of the
// drawing area, from its top-left corner; the chart never draws outside it.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void fill(PixelRect area, Colour colour) = 0;
    // UTF-8 text with its top-left corner at (x, y), in the canvas's own
    // face at `pixelSize` device pixels, in the label colour.
    virtual void text(int x, int y, std::string_view text, int pixelSize) = 0;
};

} // namespace chart
