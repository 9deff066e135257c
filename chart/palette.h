#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace chart {

// The classic 16-colour palette of the BASIC family: dark colours first,
// bright ones from 8, blue in bit 0, green in bit 1, red in bit 2. So 9 is
// bright blue and 12 bright red.
enum class Colour : std::uint8_t {
    black,
    blue,
    green,
    cyan,
    red,
    magenta,
    brown,
    lightGrey,
    darkGrey,
    brightBlue,
    brightGreen,
    brightCyan,
    brightRed,
    brightMagenta,
    yellow,
    white,
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

constexpr Rgb rgb(Colour colour)
{
    constexpr std::array<std::uint32_t, 16> palette = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
        0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    const std::uint32_t value = palette[static_cast<std::size_t>(colour)];
    return {std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value)};
}

// What the field draws in which colour.
inline constexpr Colour background = Colour::white;
inline constexpr Colour gridColour = Colour::black;
inline constexpr Colour fineGridColour = Colour::lightGrey; // paper only, under the 10 m lines
inline constexpr Colour labelColour = Colour::black;
inline constexpr Colour mouseColour = Colour::brightRed;
inline constexpr Colour dogColour = Colour::brightBlue;

} // namespace chart
