// Feeds arbitrary bytes to text reading, read-out formatting and whole
// sequences of clicks, and checks what must always hold.

#include "number_text.h"
#include "pursuit.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// "#0.000": an optional "-", at least one digit, ".", exactly three digits.
bool looksLikeReadout(const std::string& t)
{
    std::size_t i = t.starts_with('-') ? 1 : 0;
    const std::size_t point = t.find('.');
    if (point == std::string::npos || point == i || t.size() != point + 4)
        return false;
    for (std::size_t k = i; k < t.size(); ++k)
        if (k != point && (t[k] < '0' || t[k] > '9'))
            return false;
    return t != "-0.000";
}

void checkFormatting(float value)
{
    if (!std::isfinite(value))
        return;
    const std::string text = number_text::formatReadout(value);
    require(looksLikeReadout(text));
    // Reading the text back lands within half a thousandth of the value
    // (or within the double's own rounding for huge values).
    const double back = number_text::textToNumber(text);
    const double error = std::fabs(back - static_cast<double>(value));
    require(error <= 0.0005 + std::fabs(value) * 1e-15);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const double whole = number_text::textToNumber(input);
    require(!std::isnan(whole));

    if (size >= 4) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, data, 4);
        checkFormatting(std::bit_cast<float>(bits));
    }

    // Lines are input texts, taken three at a time for each click.
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= input.size() && lines.size() < 60;) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        lines.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    sim::PursuitState state;
    const sim::Frame start = sim::resetToStart(state);
    require(number_text::formatReadout(start.readouts.dogY) == "50.000");
    for (std::size_t i = 0; i < lines.size(); i += 3) {
        const auto text = [&](std::size_t k) { return k < lines.size() ? lines[k] : std::string_view{}; };
        const sim::PursuitState before = state;
        const sim::StepOutcome o = sim::step(state, text(i), text(i + 1), text(i + 2));
        for (const float f : {state.u, state.v, state.h, state.s, state.ux, state.uy, state.kx, state.ky})
            require(std::isfinite(f));
        if (o.fault == sim::Fault::none) {
            require(state.uy == sim::frameBottom);
            require(o.catchCue == (state.ux <= state.kx));
            require(before.ux < sim::frameRight || (state.ux == before.ux && state.kx == before.kx));
            for (const float f : {o.frame.readouts.mouseX, o.frame.readouts.dogX, o.frame.readouts.dogY,
                                  o.frame.readouts.seconds})
                checkFormatting(f);
        } else {
            // The clock is stored last, so a click that faulted never moved it.
            require(state.s == before.s);
        }
    }
    return 0;
}
