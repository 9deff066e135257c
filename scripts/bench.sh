#!/usr/bin/env bash
# Builds Torvikan's benchmarks into build/ and prints their figures: the
# table tool, one click on 次へ as the trail grows, the worksheet tool,
# start-up and memory against the least Qt Widgets window, and the soak's
# resident memory.
# Figures only: nothing here fails on time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target bench_table bench_step bench_startup startup_torvikan baseline_window soak \
    bench_sheet torvikan-sheet

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(free -g | awk '/^Mem/ { print $2 }') GiB"
build/bench/bench_table
QT_QPA_PLATFORM=offscreen build/bench/bench_step 2>/dev/null
QT_QPA_PLATFORM=offscreen build/bench/bench_sheet build/bin/torvikan-sheet 2>/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" \
    build/bench/bench_startup build/bench/startup_torvikan build/bench/baseline_window 20 2>/dev/null
QT_QPA_PLATFORM=offscreen build/tests/soak 100000 200 2>/dev/null
