#pragma once

#include "field.h"

#include <string_view>

namespace sim {

// The chase as the main window keeps it: eight single-precision values,
// in this order. Positions are chart metres (x to the right, y downwards).
struct PursuitState {
    float u = 0.0f;   // mouse speed, m/s
    float v = 0.0f;   // dog speed, m/s
    float h = 0.0f;   // unit time of one click, s
    float s = 0.0f;   // elapsed time, s
    float ux = mouseStart.x; // mouse
    float uy = mouseStart.y;
    float kx = dogStart.x;   // dog
    float ky = dogStart.y;
    bool operator==(const PursuitState&) const = default;
};

enum class Fault { none, invalid, divisionByZero, overflow };

// A 1 m trail mark: the filled square between `corner` (the animal's
// position) and `opposite` (1 m to the left and 1 m up).
struct TrailMark {
    ChartPoint corner;
    ChartPoint opposite;
    bool operator==(const TrailMark&) const = default;
};

// The read-out values, already rounded to single, in display metres
// (from the field's bottom-left corner, y upwards) and seconds.
struct Readouts {
    float mouseX = 0.0f;
    float mouseY = 0.0f;
    float dogX = 0.0f;
    float dogY = 0.0f;
    float seconds = 0.0f;
    bool operator==(const Readouts&) const = default;
};

// Everything the window draws and writes for one position of the chase.
struct Frame {
    Readouts readouts;
    ChartPoint mouseMarker; // top-left corner of the mouse picture
    TrailMark mouseMark;
    ChartPoint dogMarker;   // top-left corner of the dog picture
    TrailMark dogMark;
};

struct StepOutcome {
    Fault fault = Fault::none; // when set, `frame` and `catchCue` are unset
    Frame frame;
    bool catchCue = false;     // the dog has reached or passed the mouse's x
};

// Puts mouse, dog and clock back at the start (leaves u, v and h alone)
// and returns the start picture.
Frame resetToStart(PursuitState& state);

// Reads the three input texts, as the boxes are read, into u, v and h in
// that order. A number too large for a float is an overflow: reading stops
// there, and the values read before it keep their new values.
Fault readInputs(PursuitState& state, std::string_view mouseSpeedText, std::string_view dogSpeedText,
                 std::string_view unitTimeText);

// One click of 次へ on the u, v and h the state holds: advances the chase
// by one unit time while the mouse is left of the frame's right edge, keeps
// the mouse on the frame's bottom edge, and returns what the window must
// show. On an arithmetic fault the step ends where the fault arose; values
// stored before it keep their new values.
StepOutcome step(PursuitState& state);

// The whole click as the window makes it: readInputs, then the step.
StepOutcome step(PursuitState& state, std::string_view mouseSpeedText,
                 std::string_view dogSpeedText, std::string_view unitTimeText);

// Short English name of a fault, as the table tool prints it.
std::string_view faultName(Fault fault);

} // namespace sim
