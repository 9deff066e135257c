#pragma once

// Reads number_text_rows.tsv, the number-text rows that the desktop suite and
// the WebAssembly runner share, and checks a row. Plain C++, so that emcc
// compiles it too.

#include "number_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct NumberTextRow {
    std::string kind; // format, fixed, read or whole
    std::string name;
    std::vector<std::string> fields; // the columns after the name, escapes undone
};

// "\t" is a tab, "\\" a backslash, "\[text*N]" the text N times.
inline std::string unescapeField(const std::string& field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const char next = field[++i];
        if (next == 't') {
            text += '\t';
        } else if (next == '[') {
            const std::size_t close = field.find(']', i);
            const std::size_t star = field.rfind('*', close);
            if (close == std::string::npos || star == std::string::npos || star < i)
                throw std::runtime_error("unfinished \\[text*N] in: " + field);
            const std::string piece = field.substr(i + 1, star - i - 1);
            for (long n = std::strtol(field.c_str() + star + 1, nullptr, 10); n > 0; --n)
                text += piece;
            i = close;
        } else {
            text += next;
        }
    }
    return text;
}

inline std::vector<NumberTextRow> readNumberTextRows(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::vector<NumberTextRow> rows;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (line.empty() || line.front() == '#')
            continue;
        std::vector<std::string> columns;
        for (std::size_t start = 0;;) {
            const std::size_t tab = line.find('\t', start);
            columns.push_back(unescapeField(line.substr(start, tab - start)));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        const std::string& kind = columns.front();
        const std::size_t expected = kind == "fixed" ? 5 : 4;
        if ((kind != "format" && kind != "fixed" && kind != "read" && kind != "whole") || columns.size() != expected)
            throw std::runtime_error(path + ":" + std::to_string(number) + ": not a row of a known kind");
        rows.push_back({kind, columns[1], {columns.begin() + 2, columns.end()}});
    }
    if (rows.empty())
        throw std::runtime_error(path + " holds no rows");
    return rows;
}

// What number_text makes of the row, and what the row expects, as text. The
// rows' values are read by the C library (in the "C" locale, which neither
// runner leaves) rather than by the code under test.
inline std::pair<std::string, std::string> numberTextOutcome(const NumberTextRow& row)
{
    const auto valueOf = [](const std::string& text) { return std::strtod(text.c_str(), nullptr); };
    // Emscripten's libc++ has no std::bit_cast.
    const auto bits = [](double value) {
        std::uint64_t b = 0;
        std::memcpy(&b, &value, sizeof b);
        return std::to_string(b);
    };
    const std::vector<std::string>& f = row.fields;
    if (row.kind == "format")
        return {number_text::formatReadout(static_cast<float>(valueOf(f[0]))), f[1]};
    if (row.kind == "fixed")
        return {number_text::formatFixed(valueOf(f[0]), std::atoi(f[1].c_str())), f[2]};
    if (row.kind == "read")
        return {bits(number_text::textToNumber(f[0])), bits(valueOf(f[1]))};
    return {number_text::isWholeNumber(f[0]) ? "true" : "false", f[1]};
}
