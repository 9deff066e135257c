#!/usr/bin/env bash
# Builds Torvikan's benchmarks into build/ and prints their figures: the
# table tool, one click on 次へ as the trail grows, the worksheet tool,
# start-up and memory against the least Qt Widgets window, the resident
# memory of a long lesson, and the web page in headless Chromium (ready
# against the least page, a click, the folder's size). Figures only:
# nothing here fails on time; a benchmark that cannot run says why, and the
# script then fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target bench_table bench_step bench_startup startup_torvikan baseline_window soak \
    bench_sheet torvikan-sheet web
(cd tests/web && npm ci --no-audit --no-fund --prefer-offline --loglevel=error)

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
failed=0
bench() { # bench COMMAND...: its figures, or what went wrong
    if ! "$@" 2>"$errors"; then
        echo "FAILED: $*" >&2
        grep -v XDG_RUNTIME_DIR "$errors" >&2
        failed=1
    fi
}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(free -g | awk '/^Mem/ { print $2 }') GiB"
export QT_QPA_PLATFORM=offscreen
bench build/bench/bench_table
bench build/bench/bench_step
bench build/bench/bench_sheet build/bin/torvikan-sheet
bench build/bench/soak 100000 200
unset QT_QPA_PLATFORM
bench node bench/bench_page.mjs build/web
bench xvfb-run -a -s "-screen 0 1280x1024x24" \
    build/bench/bench_startup build/bench/startup_torvikan build/bench/baseline_window 20
exit $failed
