// The shared number-text rows against number_text as compiled to WebAssembly,
// run with node:  node number_text_rows.js number_text_rows.tsv
// Prints each row that fails and exits with 1 if any did.

#include "../number_text_rows.h"

#include <cstdio>
#include <exception>

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
        const auto [actual, expected] = numberTextOutcome(row);
        if (actual != expected) {
            ++failed;
            std::printf("FAIL %s(%s): %s, expected %s\n", row.kind.c_str(), row.name.c_str(), actual.c_str(),
                        expected.c_str());
        }
    }
    std::printf("%zu rows, %d failed\n", rows.size(), failed);
    return failed == 0 ? 0 : 1;
}
