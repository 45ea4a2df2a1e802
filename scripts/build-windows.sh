#!/usr/bin/env bash
# Builds the Windows programs with mingw-w64 (installing what it needs on a fresh Debian 12
# machine, as root): build-windows/x86_64/ (the build the tests run under Wine) and
# build-windows/i686/ (the 32-bit build one ships), each with Zura.exe, installer.exe and the
# folder "Program Files/Quellix/" holding the two databases.
# ZURA_DBTOOL=path reuses a native dbtool; otherwise one is built in build-windows/host/.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
          wine wine64 fonts-wine xvfb xauth x11-apps imagemagick cmake make)
bash scripts/install-packages.sh "${packages[@]}"
out=${ZURA_WINDOWS_BUILD:-build-windows}
jobs=$(nproc)
dbtool=${ZURA_DBTOOL:-}
if [ -z "$dbtool" ]; then
  bash scripts/setup.sh
  cmake -S . -B "$out/host" -DCMAKE_BUILD_TYPE=Release -DZURA_TESTS=OFF -DZURA_BENCH=OFF >/dev/null
  cmake --build "$out/host" --target dbtool -j "$jobs"
  dbtool=$out/host/dbtool
fi
dbtool=$(realpath "$dbtool")
for arch in x86_64 i686; do
  # Only 64-bit programs start under this Wine: the tests are the x86_64 build's.
  tests=OFF
  [ "$arch" = x86_64 ] && tests=${ZURA_WINE_TESTS:-ON}
  cmake -S . -B "$out/$arch" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$arch.cmake -DCMAKE_BUILD_TYPE=Release \
        -DZURA_DBTOOL="$dbtool" -DZURA_WINE_TESTS="$tests" >/dev/null
  cmake --build "$out/$arch" -j "$jobs"
done
