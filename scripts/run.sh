#!/usr/bin/env bash
# Sets up a fresh machine, builds the program and its databases from data/, and shows them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${ZURA_RUN_BUILD:-build}
cmake -S . -B "$build" -DZURA_TESTS=OFF -DZURA_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
db="$build/root/Program Files/Quellix"
"$build/dbtool" dump "$db/DisplayDB-Qx4k.pdb"
"$build/dbtool" dump "$db/DEZidiVA-Qx4k.pdb"
# The program itself, walked through each module by a script that prints its screens and reports.
"$build/zura-sim" tests/e2e/demo.sim
