#pragma once

#include "field.h"
#include "pursuit.h"

#include <cstddef>
#include <optional>
#include <vector>

// The continuous chase that the clicks approximate, in closed form and in
// double precision, for the teacher's tools; the window never shows it.
// Display metres: the mouse starts at the origin and runs along y = 0 at
// speed u (to the left when u < 0); the dog starts at (0, dogStartHeight),
// runs at speed v and always heads straight at the mouse. Unlike the
// window's mouse, this one never stops at the field's right edge.
namespace sim::exact {

inline constexpr double dogStartHeight = displayY(double(dogStart.y)) - displayY(double(mouseStart.y));

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// Where the dog is after `seconds`. Once it has caught the mouse it runs
// along with it. No value when v <= 0, seconds < 0, an input is not finite
// or the position is beyond the range of a double.
std::optional<Point> dogAt(double u, double v, double seconds);

// When the dog reaches the mouse, a·v / (v² − u²). No value when it never
// does (|u| >= v, or later than a double can hold) or v <= 0 or an input
// is not finite.
std::optional<double> catchTime(double u, double v);

// The dog's path for drawing: `points` positions evenly spaced in time,
// which is evenly along the curve, from the start to the catch or to
// `endSeconds` if that comes first. An infinite `endSeconds` draws up to
// the catch. Empty where dogAt has no value, when the dog is never caught
// and `endSeconds` is infinite, or when `points` < 2.
std::vector<Point> dogPath(double u, double v, double endSeconds, std::size_t points);

// How far the window's dog, as its read-outs show it, is from `exact`.
double distanceFromShown(const Readouts& shown, Point exact);

} // namespace sim::exact
