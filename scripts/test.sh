#!/usr/bin/env bash
# Sets up a fresh machine, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test (unit suites, end-to-end scripts, database checks, the browser test), then
# each fuzz target for a short time on its seeds (scripts/fuzz.sh), then builds the Windows
# programs and runs their tests under Wine.
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
# The Windows programs, built with mingw-w64 (reusing the dbtool just built), and their tests
# under Wine, all on one virtual display large enough for a desktop.
ZURA_DBTOOL="$build/dbtool" bash scripts/build-windows.sh
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build-windows/x86_64 --output-on-failure -j "$(nproc)"
# The performance measurement runs once as a smoke check (its figures are not judged here).
bash bench/measure.sh --smoke
