#!/usr/bin/env bash
# Builds Torvikan and runs every test:
#   build/       the ordinary build (g++) and the web page, all test suites,
#                the page's in headless Chromium;
#   build-asan/  clang 14 with AddressSanitizer and UndefinedBehaviorSanitizer,
#                the same suites plus a bounded fuzz run; any report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test

jobs=$(nproc)

echo "== ordinary build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
cmake --build build -j "$jobs" --target web
# The page's tests drive Chromium with playwright-core, the one package
# from npm, at the version the lockfile pins.
(cd tests/web && npm ci --no-audit --no-fund --prefer-offline --loglevel=error)
(cd build && ctest --output-on-failure -j "$jobs")

echo "== sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++-14 -DTORVIKAN_SANITIZE=ON -DTORVIKAN_FUZZ=ON >/dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
(cd build-asan && ctest --output-on-failure -j "$jobs")
