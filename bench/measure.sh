#!/usr/bin/env bash
# What the program costs, counted by valgrind on the RelWithDebInfo build (instruction counts do
# not depend on the machine's load, timings do):
#  - instructions per user action of the e2e scripts, from taking the action to the repainted
#    screen (zura-sim dumps callgrind's counts at each wait for input; its own printing is not
#    collected): mean, median and the worst with its script line;
#  - instructions for start-up (startUp to the first wait for input), the worst over the scripts;
#  - instructions per character laid out (layoutDisplayList on the display benchmark's report);
#  - peak memory of a full scripted run (massif: heap with allocator overhead, and the stack).
# Usage: bash bench/measure.sh [--smoke] [--top N] [SCRIPT.sim ...]
#   --smoke: demo.sim only, no massif (the CI check that the measurement works)
#   --top N: also print the N functions with the most instructions (their own) in the worst action
#   --over N: also list every user action above N instructions, the dearest last
# ZURA_BENCH_BUILD names the build folder (default build-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
smoke=0 top=0 over=0 scripts=()
while [ $# -gt 0 ]; do
  case $1 in
    --smoke) smoke=1 ;;
    --top) top=$2; shift ;;
    --over) over=$2; shift ;;
    *) scripts+=("$1") ;;
  esac
  shift
done
[ ${#scripts[@]} -gt 0 ] || if [ $smoke = 1 ]; then scripts=(tests/e2e/demo.sim); else scripts=(tests/e2e/*.sim); fi
build=${ZURA_BENCH_BUILD:-build-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZURA_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target zura-sim dbtool databases bench_display_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for script in "${scripts[@]}"; do
  name=$(basename "$script" .sim)
  root=$build/root
  if first=$(head -1 "$script") && [[ $first =~ ^\#\ root:\ (.+)$ ]]; then
    root=$work/root-$name
    "$build/dbtool" build "$(dirname "$script")/${BASH_REMATCH[1]}" "$root" >/dev/null
  fi
  valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$work/cg-$name" \
    "$build/zura-sim" --root "$root" "$script" >/dev/null 2>"$work/valgrind-$name.log" ||
    { echo "zura-sim failed on $script:" >&2; cat "$work/valgrind-$name.log" >&2; exit 1; }
  if [ $smoke = 0 ]; then
    valgrind --tool=massif --stacks=yes --massif-out-file="$work/massif-$name" \
      "$build/zura-sim" --root "$root" "$script" >/dev/null 2>>"$work/valgrind-$name.log"
  fi
done

# One line per dump: instructions, dump file, label.
for f in "$work"/cg-*.[0-9]*; do
  label=$(sed -n 's/^desc: Trigger: Client Request: //p' "$f")
  count=$(sed -n 's/^summary: //p' "$f")
  [ -n "$label" ] && printf '%s\t%s\t%s\n' "$count" "$f" "$label"
done >"$work/dumps"

grep -P '\tstartUp$' "$work/dumps" | sort -n | tail -1 |
  awk -F'\t' '{printf "start-up: %d instructions\n", $1}'
grep -vP '\tstartUp$' "$work/dumps" | sort -n >"$work/actions"
awk -F'\t' '{n++; sum += $1; v[n] = $1; worst = $3}
  END {median = n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
       printf "user actions: %d; instructions per action: mean %d, median %d, worst %d (%s)\n",
              n, sum / n, median, v[n], worst}' "$work/actions"

# Layout: the counted run of the display benchmark lays its report out a known number of times.
valgrind --tool=callgrind --toggle-collect='layoutDisplayList*' --callgrind-out-file="$work/layout" \
  "$build/bench_display_bench" --benchmark_filter='layoutReport/counted' --benchmark_format=csv \
  >"$work/layout.csv" 2>"$work/layout.log"
awk -F, -v ir="$(sed -n 's/^summary: //p' "$work/layout")" '
  $1 == "name" {for (i = 1; i <= NF; i++) column[$i] = i; next}
  column["iterations"] {chars = $column["\"chars\""]; layouts = $column["iterations"]}
  END {printf "layout: %.1f instructions per character (%d characters laid out %d times)\n",
              ir / (chars * layouts), chars, layouts}' "$work/layout.csv"

if [ $smoke = 0 ]; then
  cat "$work"/massif-* | awk -F= '/^mem_heap_B/ {h = $2} /^mem_heap_extra_B/ {e = $2}
    /^mem_stacks_B/ {if (h + e + $2 > peak) peak = h + e + $2}
    END {printf "peak memory of a scripted run: %.2f MiB (heap and stack)\n", peak / 1048576}'
fi

if [ "$over" -gt 0 ]; then
  echo "user actions above $over instructions:"
  awk -F'\t' -v over="$over" '$1 > over {printf "%10d  %s\n", $1, $3}' "$work/actions"
fi

if [ "$top" -gt 0 ]; then
  worstFile=$(tail -1 "$work/actions" | cut -f2)
  echo "where the worst action's instructions go (by function, its own instructions):"
  callgrind_annotate --threshold=100 --auto=no "$worstFile" 2>/dev/null |
    grep -E '^ *[0-9,]+ \(' | grep -v '(100.0%)' | head -n "$top"
fi
