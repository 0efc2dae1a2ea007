#!/usr/bin/env bash
# Builds Kelvaris and runs every test (unit, GUI under the offscreen platform, end-to-end).
#   scripts/run-tests.sh [build-dir [cmake options]]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}

"$here/setup.sh" "$build" "${@:2}"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j "${JOBS:-$(nproc)}" --timeout 300
