#!/usr/bin/env bash
# Instructions per action of zura-web, counted by callgrind over bench/web_roundtrip.mjs: the
# program's own work (DispatchMessageW called from its message loop, inclusive) against the whole
# server's (all its processes: the one serving HTTP and the session's worker). Start-up, the
# first two actions and shutdown are taken out by a second run with no ticks: per action =
# (run of N ticks - run of none) / N. The platform switches counting on and off around each
# action it carries out (dumping the counts each time), so each run is made twice, counting from
# the start and not, and the two halves are added. A benchmark, not a test.
#   bash bench/web_cost.sh [BUILD] [N]      (BUILD defaults to build/, N to 200)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
count=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for n in 0 "$count"; do
  for start in yes no; do
    printf '#!/bin/sh\nexec valgrind --tool=callgrind --trace-children=yes --collect-atstart=%s --callgrind-out-file="%s" --separate-threads=no "%s" "$@"\n' \
      "$start" "$work/cg-$n-$start.%p.out" "$build/zura-web" > "$work/server"
    chmod +x "$work/server"
    node bench/web_roundtrip.mjs "$work/server" "$build/root" "$n" 2> "$work/log" |
      sed "s/^/  under callgrind (counting from the start: $start), $n ticks: /" || { cat "$work/log" >&2; exit 1; }
  done
done

# From callgrind's files (every dump of both runs): the whole count, and the inclusive count of
# the calls the program's loop (startUp) makes to DispatchMessageW (call arcs measure from call
# to return, so nested loops inside a dispatch are not counted twice).
costs() {
  awk -v q="'" '
    FNR == 1 { split("", names); fn = cfn = ""; arc = 0 }
    /^(fn|cfn)=/ {
      rest = substr($0, index($0, "=") + 1)
      id = substr(rest, 1, index(rest, ")")); name = substr(rest, length(id) + 2)
      if (name != "") names[id] = name
      if ($0 ~ /^fn=/) fn = names[id]; else cfn = names[id]
      next
    }
    /^calls=/ { arc = 1; next }
    /^[0-9+*-]/ {
      if (arc && fn ~ /^startUp\(/ && cfn ~ /^DispatchMessageW\(/ && !index(cfn, q)) program += $2
      arc = 0
      next
    }
    /^totals:/ { total += $2 }
    END { printf "%d %d\n", total, program }
  ' "$@"
}

read -r total0 program0 < <(costs "$work"/cg-0-*.out*)
read -r totalN programN < <(costs "$work"/cg-"$count"-*.out*)
awk -v t0="$total0" -v p0="$program0" -v t="$totalN" -v p="$programN" -v n="$count" 'BEGIN {
  whole = (t - t0) / n; program = (p - p0) / n; host = whole - program
  printf "per action: %.0f instructions, the program %.0f, the host %.0f; the program'"'"'s share %.1f %%\n",
         whole, program, host, 100 * program / whole
}'
