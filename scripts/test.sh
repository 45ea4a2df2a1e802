#!/usr/bin/env bash
# Sets up a fresh machine, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test (unit suites, end-to-end scripts, database checks, the browser test), then
# each fuzz target for a short time on its seeds (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
export ZURA_WITH_BROWSER=${ZURA_WITH_BROWSER:-1}
bash scripts/setup.sh
build=${ZURA_TEST_BUILD:-build-test}
cmake -S . -B "$build" -DZURA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DZURA_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
bash scripts/fuzz.sh "${ZURA_FUZZ_SECONDS:-15}"
