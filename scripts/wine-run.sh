#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix PREFIX (prepared first when it is not yet):
# the emulator of the Windows build's tests. wine-run.sh PREFIX PROGRAM [ARGS...]
set -euo pipefail
prefix=${1:?usage: wine-run.sh PREFIX PROGRAM [ARGS...]}
shift
bash "$(dirname "$0")/wine-prefix.sh" "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
