#!/usr/bin/env bash
# Runs a zura-sim script with zura-drive (the Windows build under Wine) and compares what it
# prints with zura-sim's output for the script (its .expected file). Text is measured by each
# platform's own rasterizer (FreeType's unhinted advances here, Wine's hinted ones there), so
# what measurement decides is left out of the comparison: the geometry of each window and
# display line, where long texts wrap (consecutive static lines are read as one text), and the
# scroll range that follows from the number of rows. Everything else must be equal: the
# windows, their classes, states, texts, items and selections, the message boxes, the display
# lines' kinds, ids, flags and texts, and the answers.
# compare.sh DRIVE ROOT SCRIPT EXPECTED WORK
set -euo pipefail
drive=$1 root=$2 script=$3 expected=$4 work=$5
name=$(basename "$script" .sim)
mkdir -p "$work"
normalise() {
  awk '
    function flush() { if (para != "") { print "STATIC " para; para = "" } }
    /^[A-Z#][A-Za-z0-9_#]* -?[0-9]+ -?[0-9]+ -?[0-9]+ -?[0-9]+( |$)/ {
      cls = $1; sub(/^[^ ]+ -?[0-9]+ -?[0-9]+ -?[0-9]+ -?[0-9]+ ?/, "")
      gsub(/scroll=[0-9-]+\/[0-9-]+\.\.[0-9-]+\/[0-9-]+/, "scroll")
      if (cls == "STATIC" && $0 ~ /^"/) { t = $0; gsub(/^"|"$/, "", t); para = para t; next }
      flush(); print cls " " $0; next
    }
    /^-?[0-9]+ -?[0-9]+ -?[0-9]+ [A-Za-z]+ [0-9]+ / { flush(); print $4, $5, $6; next }
    { flush(); print }
    END { flush() }'
}
bash "$drive" --root "$root" "$script" > "$work/$name.windows"
normalise < "$expected" > "$work/$name.sim.normal"
normalise < "$work/$name.windows" > "$work/$name.windows.normal"
if ! diff -u "$work/$name.sim.normal" "$work/$name.windows.normal"; then
  echo "zura-drive and zura-sim differ on $name (beyond what text measurement decides)" >&2
  exit 1
fi
