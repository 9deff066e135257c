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

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// "#0.000" never shows "-0.000", and reading the text back lands within
// half a thousandth of the value (or the double's own rounding when huge).
void checkFormatting(float value)
{
    if (!std::isfinite(value))
        return;
    const std::string text = number_text::formatReadout(value);
    const std::size_t point = text.find('.');
    require(point != std::string::npos && point > (text[0] == '-' ? 1u : 0u) && text.size() == point + 4);
    require(text != "-0.000" && text.find_first_not_of("-0123456789.", 0) == std::string::npos);
    const double back = number_text::textToNumber(text);
    require(std::fabs(back - double(value)) <= 0.0005 + std::fabs(value) * 1e-15);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    require(!std::isnan(number_text::textToNumber(input)));
    if (size >= 4) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, data, 4);
        checkFormatting(std::bit_cast<float>(bits));
    }

    // Lines are input texts, taken three at a time for each click.
    std::string_view lines[60];
    std::size_t count = 0;
    for (std::size_t start = 0; start <= input.size() && count < 60;) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        lines[count++] = input.substr(start, end - start);
        start = end + 1;
    }
    sim::PursuitState state;
    sim::resetToStart(state);
    for (std::size_t i = 0; i < count; i += 3) {
        const sim::PursuitState before = state;
        const sim::StepOutcome o = sim::step(state, lines[i], lines[i + 1], lines[i + 2]);
        for (const float f : {state.u, state.v, state.h, state.s, state.ux, state.uy, state.kx, state.ky})
            require(std::isfinite(f));
        if (o.fault == sim::Fault::none) {
            require(state.uy == sim::frameBottom && o.catchCue == (state.ux <= state.kx));
            require(before.ux < sim::frameRight || (state.ux == before.ux && state.kx == before.kx));
            for (const float f : {o.frame.readouts.mouseX, o.frame.readouts.dogX, o.frame.readouts.dogY})
                checkFormatting(f);
        } else {
            require(state.s == before.s); // the clock is stored last
        }
    }
    return 0;
}
