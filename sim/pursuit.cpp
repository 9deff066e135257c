#include "pursuit.h"

#include "number_text.h"

#include <cfloat>
#include <cmath>
#include <concepts>
#include <limits>

static_assert(FLT_EVAL_METHOD == 0, "every double intermediate must really be a double");
static_assert(std::numeric_limits<float>::is_iec559, "the chase is defined on IEEE single precision");
static_assert(std::numeric_limits<double>::is_iec559, "intermediates are IEEE double precision");

namespace sim {
namespace {

// Thrown by the checked operations below and caught in step(): the first
// fault ends the step on the spot, like an arithmetic error would.
struct ArithmeticFault {
    Fault kind;
};

// Every operand is a finite float or an intermediate that passed these
// checks, so a NaN result is an invalid operation and an infinite one an
// overflow. The floating-point environment's flags are not used: compilers
// are free to move or drop the operations that would raise them.
double checked(double r)
{
    if (std::isnan(r))
        throw ArithmeticFault{Fault::invalid};
    if (std::isinf(r))
        throw ArithmeticFault{Fault::overflow};
    return r;
}

// The operations take stored floats and double intermediates alike and
// widen both operands to double before they compute, as the rules say.
template <std::floating_point A, std::floating_point B> double add(A a, B b) { return checked(double(a) + double(b)); }
template <std::floating_point A, std::floating_point B> double sub(A a, B b) { return checked(double(a) - double(b)); }
template <std::floating_point A, std::floating_point B> double mul(A a, B b) { return checked(double(a) * double(b)); }

template <std::floating_point A, std::floating_point B> double quot(A a, B b)
{
    if (b == 0)
        throw ArithmeticFault{a == 0 ? Fault::invalid : Fault::divisionByZero};
    return checked(double(a) / double(b));
}

// A product is correctly rounded on every machine; pow need not be, and
// maths libraries differ in its last bit.
double square(double a) { return checked(a * a); }

double root(double a)
{
    if (a < 0.0)
        throw ArithmeticFault{Fault::invalid};
    return std::sqrt(a);
}

// Rounding to single on storing: a value beyond the float range is an
// overflow, a value below it simply underflows.
float single(double a)
{
    const float f = static_cast<float>(checked(a));
    if (std::isinf(f))
        throw ArithmeticFault{Fault::overflow};
    return f;
}

float readInput(std::string_view text) { return single(number_text::textToNumber(text)); }

double distance(const PursuitState& s)
{
    return root(add(square(sub(s.ux, s.kx)), square(sub(s.uy, s.ky))));
}

TrailMark markAt(float x, float y) { return {{x, y}, {single(sub(x, 1.0)), single(sub(y, 1.0))}}; }

ChartPoint markerAt(float x, float y) { return {single(add(x, 1.0)), y}; }

Frame frameOf(const PursuitState& s)
{
    Frame f;
    f.readouts.mouseX = single(displayX(double(s.ux)));
    f.readouts.mouseY = single(displayY(double(s.uy)));
    f.readouts.dogX = single(displayX(double(s.kx)));
    f.readouts.dogY = single(displayY(double(s.ky)));
    f.readouts.seconds = s.s;
    f.mouseMarker = markerAt(s.ux, s.uy);
    f.mouseMark = markAt(s.ux, s.uy);
    f.dogMarker = markerAt(s.kx, s.ky);
    f.dogMark = markAt(s.kx, s.ky);
    return f;
}

void advance(PursuitState& s)
{
    // The dog's x moves first and is stored (rounded to single) before the
    // distance is measured again for its y. This order, and the rounding on
    // every store, decide the last digits the pupil reads and the clicks on
    // which the catch cue sounds; a "tidier" update that divides both by the
    // first distance, or keeps kx in double, gives a different chase.
    const double d1 = distance(s);
    s.kx = single(add(quot(mul(mul(sub(s.ux, s.kx), s.v), s.h), d1), s.kx));
    const double d2 = distance(s);
    s.ky = single(add(quot(mul(mul(sub(s.uy, s.ky), s.v), s.h), d2), s.ky));
    s.ux = single(add(s.ux, mul(s.h, s.u)));
    s.s = single(add(s.s, s.h));
}

} // namespace

Frame resetToStart(PursuitState& state)
{
    state.ux = mouseStart.x;
    state.uy = mouseStart.y;
    state.kx = dogStart.x;
    state.ky = dogStart.y;
    state.s = 0.0f;
    return frameOf(state);
}

Fault readInputs(PursuitState& state, std::string_view mouseSpeedText, std::string_view dogSpeedText,
                 std::string_view unitTimeText)
{
    try {
        state.u = readInput(mouseSpeedText);
        state.v = readInput(dogSpeedText);
        state.h = readInput(unitTimeText);
    } catch (const ArithmeticFault& e) {
        return e.kind;
    }
    return Fault::none;
}

StepOutcome step(PursuitState& state, std::string_view mouseSpeedText,
                 std::string_view dogSpeedText, std::string_view unitTimeText)
{
    if (const Fault fault = readInputs(state, mouseSpeedText, dogSpeedText, unitTimeText); fault != Fault::none) {
        StepOutcome out;
        out.fault = fault;
        return out;
    }
    return step(state);
}

StepOutcome step(PursuitState& state)
{
    StepOutcome out;
    try {
        if (state.ux < frameRight)
            advance(state);
        state.uy = frameBottom;
        out.frame = frameOf(state);
        out.catchCue = state.ux <= state.kx;
    } catch (const ArithmeticFault& e) {
        out = StepOutcome{};
        out.fault = e.kind;
    }
    return out;
}

std::string_view faultName(Fault fault)
{
    switch (fault) {
    case Fault::none:
        return {};
    case Fault::invalid:
        return "invalid";
    case Fault::divisionByZero:
        return "divzero";
    case Fault::overflow:
        return "overflow";
    }
    return {};
}

} // namespace sim
