#!/usr/bin/env bash
# Sets up a fresh machine, builds the program and its databases from data/, shows them, and
# serves the program in a web browser (zura-web on 127.0.0.1; ZURA_WEB_PORT, default 8240).
# It prints a few progress lines; what the steps write goes to files under the build folder:
# logs/ (setup and build), dumps/ (the two databases, readably) and demo/ (the demo walk's
# screens and report sections). A failing step prints its log.
set -euo pipefail
cd "$(dirname "$0")/.."
export ZURA_WITH_BROWSER=${ZURA_WITH_BROWSER:-1}
build=${ZURA_RUN_BUILD:-build}
mkdir -p "$build/logs" "$build/dumps" "$build/demo"

step() {   # step TITLE LOG COMMAND...: runs the command quietly; on failure shows its log
  local title=$1 log=$2
  shift 2
  echo "zura: $title"
  if ! "$@" > "$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "zura: $title failed; the whole log is $log" >&2
    exit 1
  fi
}

step "setting up the machine" "$build/logs/setup.log" bash scripts/setup.sh
step "configuring" "$build/logs/configure.log" cmake -S . -B "$build" -DZURA_TESTS=OFF -DZURA_BENCH=OFF
step "building the program and its databases" "$build/logs/build.log" cmake --build "$build" -j "$(nproc)"
db="$build/root/Program Files/Quellix"
step "dumping the databases to $build/dumps/" "$build/logs/dump.log" \
  sh -c '"$1/dbtool" dump "$2/DisplayDB-Qx4k.pdb" > "$1/dumps/DisplayDB.txt" &&
         "$1/dbtool" dump "$2/DEZidiVA-Qx4k.pdb" > "$1/dumps/DEZidiVA.txt"' sh "$build" "$db"
# The program itself, walked through each module by a script that prints its screens and reports.
step "walking the demo to $build/demo/demo.txt" "$build/logs/demo.log" \
  sh -c '"$1/zura-sim" tests/e2e/demo.sim > "$1/demo/demo.txt"' sh "$build"
if [ ! -x "$build/zura-web" ]; then
  echo "zura-web was not built (it needs ZURA_WITH_BROWSER=1 setup)" >&2
  exit 1
fi
port=${ZURA_WEB_PORT:-8240}
echo "zura: serving the program; open http://127.0.0.1:$port/ in a web browser (Ctrl+C stops it)"
exec "$build/zura-web" --port "$port" --root "$build/root"
