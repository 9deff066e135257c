#pragma once

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

// A count given to one of the teacher's tools: plain digits and nothing
// else, from `least` to `most`.
inline std::optional<std::uint64_t> wholeNumber(const std::string& text, std::uint64_t least = 0,
                                                std::uint64_t most = std::numeric_limits<std::uint64_t>::max())
{
    std::uint64_t n = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (text.empty() || ec != std::errc{} || ptr != end || n < least || n > most)
        return std::nullopt;
    return n;
}
