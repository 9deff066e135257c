// Start-up to the first painted frame, and peak resident memory, of the
// main window against the least Qt Widgets window, in the same run and on
// the same display. Prints figures; never fails on time.
//
//   bench_startup <torvikan child> <baseline child> [runs]

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double milliseconds = 0; // spawn to "painted"
    long peakKiB = 0;        // the child's peak resident memory
};

bool runOnce(const char* program, Run& run)
{
    int out[2];
    if (pipe(out) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = {const_cast<char*>(program), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return false;
    }
    std::string said;
    char buffer[64];
    ssize_t n = 0;
    bool painted = false;
    while (!painted && (n = read(out[0], buffer, sizeof buffer)) > 0) {
        said.append(buffer, static_cast<std::size_t>(n));
        if (said.find("painted") != std::string::npos) {
            painted = true;
            run.milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        }
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakKiB = usage.ru_maxrss;
    return painted && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup <torvikan child> <baseline child> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;
    std::vector<double> ours, base, oursKiB, baseKiB;
    // Alternate the two, after one warm-up each, so both see the same
    // state of the disk cache and the display server.
    for (int i = -1; i < runs; ++i) {
        Run a, b;
        if (!runOnce(argv[1], a) || !runOnce(argv[2], b)) {
            std::fprintf(stderr, "bench_startup: a child did not paint its window\n");
            return 1;
        }
        if (i < 0)
            continue;
        ours.push_back(a.milliseconds);
        base.push_back(b.milliseconds);
        oursKiB.push_back(double(a.peakKiB));
        baseKiB.push_back(double(b.peakKiB));
    }
    const double t = median(ours), tb = median(base), m = median(oursKiB), mb = median(baseKiB);
    std::printf("startup: torvikan %.1f ms, baseline %.1f ms to the first painted frame (median of %d); "
                "ratio %.2f (goal <= 1.2)\n", t, tb, runs, t / tb);
    std::printf("memory: torvikan %.1f MiB, baseline %.1f MiB peak resident; ratio %.2f (goal <= 1.3)\n",
                m / 1024.0, mb / 1024.0, m / mb);
    return 0;
}
