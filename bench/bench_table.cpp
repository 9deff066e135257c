// Prints how long the table tool's work takes for a million clicks.
// Figures only: it never fails on time.

#include "table.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <vector>

int main()
{
    table::Options options;
    options.steps = 1'000'000;
    std::vector<double> seconds;
    std::size_t bytes = 0;
    for (int run = 0; run < 5; ++run) {
        std::ostringstream out;
        const auto t0 = std::chrono::steady_clock::now();
        table::write(out, options);
        const auto t1 = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(t1 - t0).count());
        bytes = out.str().size();
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("table: 1000000 rows (%zu bytes) median %.3f s, best %.3f s over %zu runs\n", bytes,
                seconds[seconds.size() / 2], seconds.front(), seconds.size());
    return 0;
}
