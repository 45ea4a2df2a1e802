#!/usr/bin/env bash
# Installs what building, testing and running need on a fresh Debian 12 machine (run as root).
set -euo pipefail
packages=(g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libfreetype-dev fonts-dejavu-core valgrind
          # The Windows resource compiler and its headers: every build compiles resources/zura.rc.
          binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
          # clang with libFuzzer for the fuzz targets (scripts/fuzz.sh).
          clang libclang-rt-14-dev)
# The browser host (zura-web) and its browser test.
if [ "${ZURA_WITH_BROWSER:-0}" = 1 ]; then
  packages+=(chromium libcpp-httplib-dev nlohmann-json3-dev zlib1g-dev)
  # A Node.js from elsewhere (NodeSource) brings its own npm and conflicts with Debian's.
  command -v node >/dev/null 2>&1 || packages+=(nodejs)
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi
bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
