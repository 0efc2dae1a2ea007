#!/usr/bin/env bash
# Builds Kelvaris and runs it on its demo installation.
#   scripts/run-demo.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}

"$here/setup.sh" "$build"
exec "$build/bin/kelvaris" "$@"
