#!/usr/bin/env bash
# Takes the screenshots of tests/win/zura_screens.sim with zura-drive and turns them into PNG
# files in ROOT/screenshots/. screens.sh DRIVE ROOT SCRIPT
set -euo pipefail
drive=$1 root=$2 script=$3
mkdir -p "$root/screenshots"
bash "$drive" --root "$root" "$script"
for shot in "$root"/screenshots/zura-*.bmp; do
  /usr/bin/convert "$shot" "${shot%.bmp}.png"
done
