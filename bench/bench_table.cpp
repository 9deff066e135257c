// Prints how long the table tool's work takes: a million clicks, the
// convergence table at its largest, and one exact dog position.
// Figures only: it never fails on time.

#include "exact_chase.h"
#include "table.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <vector>

namespace {

template <typename Work>
std::vector<double> secondsOf(int runs, Work work)
{
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        work();
        const auto t1 = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(t1 - t0).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds;
}

double median(const std::vector<double>& sorted) { return sorted[sorted.size() / 2]; }

} // namespace

int main()
{
    table::Options options;
    options.steps = 1'000'000;
    std::size_t bytes = 0;
    const std::vector<double> clicks = secondsOf(5, [&] {
        std::ostringstream out;
        table::write(out, options);
        bytes = out.str().size();
    });
    std::printf("table: 1000000 rows (%zu bytes) median %.3f s, best %.3f s over %zu runs\n", bytes,
                median(clicks), clicks.front(), clicks.size());

    // The defaults stop where rounding takes over; a unit time whose first
    // row alone uses every click the table allows is the slowest there is.
    for (const char* unitTime : {"0.1", "0.0000157"}) {
        table::Options converge;
        converge.unitTime = unitTime;
        converge.converge = table::maxConvergeRows;
        const std::vector<double> convergence = secondsOf(5, [&] {
            std::ostringstream out;
            table::write(out, converge);
        });
        std::printf("table --h %s --converge %d: median %.3f s, best %.3f s over %zu runs (goal under 1 s)\n",
                    unitTime, converge.converge, median(convergence), convergence.front(), convergence.size());
    }

    // Times spread over the whole default chase, and a mouse faster than the dog.
    const int calls = 1'000'000;
    for (const double u : {6.0, 15.0}) {
        double sink = 0.0;
        const std::vector<double> exact = secondsOf(5, [&] {
            for (int i = 0; i < calls; ++i)
                sink += sim::exact::dogAt(u, 10.0, 7.8 * i / calls)->x;
        });
        std::printf("exact dog position, u %g v 10: median %.0f ns per call, best %.0f ns (goal under 2000 ns)%s\n",
                    u, median(exact) / calls * 1e9, exact.front() / calls * 1e9, sink < 0 ? " " : "");
    }
    return 0;
}
