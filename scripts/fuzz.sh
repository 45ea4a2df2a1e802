#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (AddressSanitizer, UndefinedBehaviorSanitizer,
# leak detection) in build-fuzz/ and runs each on the committed seeds in tests/fuzz/corpus/.
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]   SECONDS per target, 15 by default
# New inputs go to build-fuzz/corpus/TARGET, findings to build-fuzz/findings/; the committed
# corpus is only read. A finding fails the run: commit it under tests/fuzz/corpus/TARGET as a
# reproducer, with the fix.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
shift || true
build=$(realpath -m "${ZURA_FUZZ_BUILD:-build-fuzz}")
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed; the fuzz targets are not built" >&2
  exit 0
fi
mkdir -p "$build"
CC=clang CXX=clang++ cmake -S . -B "$build" -DZURA_FUZZ=ON -DZURA_SANITIZE=ON -DZURA_TESTS=OFF -DZURA_BENCH=OFF \
  -DZURA_WERROR=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" --target fuzz >"$build/build.log" 2>&1 || { tail -50 "$build/build.log"; exit 1; }
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for t in "$build"/fuzz_*; do [[ $t == *.log ]] || targets+=("${t##*/fuzz_}"); done
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/findings"
status=0
passed=0
failed=0
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  log="$build/fuzz_$t.log"
  seeds=("$PWD/tests/fuzz/corpus/$t")
  # The databases the build made from data/ are the database target's real seeds.
  [ "$t" = database ] && seeds+=("$build/root/Program Files/Quellix")
  if "$build/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
       -artifact_prefix="$build/findings/$t-" "$build/corpus/$t" "${seeds[@]}" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $t: $runs runs in ${seconds}s ($((runs / seconds)) a second), nothing found"
    passed=$((passed + 1))
  else
    echo "fuzz: $t: FOUND A FAULT (see $log; the input is in $build/findings/)" >&2
    grep -m 20 -E "ERROR|SUMMARY|#[0-9]+ 0x" "$log" >&2 || tail -30 "$log" >&2
    status=1
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
exit $status
