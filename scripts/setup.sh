#!/usr/bin/env bash
# Installs what building, running and testing need (only what is missing), then configures and
# builds Kelvaris.
#   scripts/setup.sh [build-dir] [extra cmake arguments...]
# Environment: KELVARIS_SANITIZE=address,undefined|thread builds instrumented; JOBS=n;
# BUILD_TYPE (default RelWithDebInfo); BUILD_TARGETS limits what is built.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}
shift || true

missing=()
while read -r pkg; do
  [[ -z "$pkg" || "$pkg" == \#* ]] && continue
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done < "$here/packages.txt"

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: need root to install packages (run as root or install them first)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake_args=(-S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}")
if [[ -n "${KELVARIS_SANITIZE:-}" ]]; then
  cmake_args+=(-DKELVARIS_SANITIZE="$KELVARIS_SANITIZE")
fi
cmake "${cmake_args[@]}" "$@" >/dev/null
# BUILD_TARGETS (space-separated) limits the build to those targets.
targets=()
for target in ${BUILD_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$build" -j "${JOBS:-$(nproc)}" "${targets[@]}"
