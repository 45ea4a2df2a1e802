#!/usr/bin/env bash
# Sets up a fresh machine, builds the program and its databases from data/, shows them, and
# serves the program in a web browser (zura-web on 127.0.0.1; ZURA_WEB_PORT, default 8240).
set -euo pipefail
cd "$(dirname "$0")/.."
export ZURA_WITH_BROWSER=${ZURA_WITH_BROWSER:-1}
bash scripts/setup.sh
build=${ZURA_RUN_BUILD:-build}
cmake -S . -B "$build" -DZURA_TESTS=OFF -DZURA_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
db="$build/root/Program Files/Quellix"
"$build/dbtool" dump "$db/DisplayDB-Qx4k.pdb"
"$build/dbtool" dump "$db/DEZidiVA-Qx4k.pdb"
# The program itself, walked through each module by a script that prints its screens and reports.
"$build/zura-sim" tests/e2e/demo.sim
if [ ! -x "$build/zura-web" ]; then
  echo "zura-web was not built (it needs ZURA_WITH_BROWSER=1 setup)" >&2
  exit 1
fi
port=${ZURA_WEB_PORT:-8240}
echo "Open http://127.0.0.1:$port/ in a web browser; Ctrl+C stops zura-web."
"$build/zura-web" --port "$port" --root "$build/root"
