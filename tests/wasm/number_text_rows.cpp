// The shared number-text rows against number_text as compiled to WebAssembly,
// run with node:  node number_text_rows.js number_text_rows.tsv
// Prints each row that fails and exits with 1 if any did.

#include "../number_text_rows.h"
#include "number_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <utility>

namespace {

// The rows' values, read by the C library (in the "C" locale, which this
// program never leaves) rather than by the code under test.
double valueOf(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// What number_text makes of the row, and what the row expects, as text.
std::pair<std::string, std::string> outcome(const NumberTextRow& row)
{
    const std::vector<std::string>& f = row.fields;
    // This libc++ has no std::bit_cast.
    const auto bits = [](double value) {
        std::uint64_t b = 0;
        std::memcpy(&b, &value, sizeof b);
        return std::to_string(b);
    };
    if (row.kind == "format")
        return {number_text::formatReadout(static_cast<float>(valueOf(f[0]))), f[1]};
    if (row.kind == "fixed")
        return {number_text::formatFixed(valueOf(f[0]), std::atoi(f[1].c_str())), f[2]};
    if (row.kind == "read")
        return {bits(number_text::textToNumber(f[0])), bits(valueOf(f[1]))};
    return {number_text::isWholeNumber(f[0]) ? "true" : "false", f[1]};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: number_text_rows ROWS.tsv\n");
        return 2;
    }
    std::vector<NumberTextRow> rows;
    try {
        rows = readNumberTextRows(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    int failed = 0;
    for (const NumberTextRow& row : rows) {
        const auto [actual, expected] = outcome(row);
        if (actual != expected) {
            ++failed;
            std::printf("FAIL %s(%s): %s, expected %s\n", row.kind.c_str(), row.name.c_str(), actual.c_str(),
                        expected.c_str());
        }
    }
    std::printf("%zu rows, %d failed\n", rows.size(), failed);
    return failed == 0 ? 0 : 1;
}
