#!/usr/bin/env bash
# Builds the Debian packages kelvaris and kelvaris-alarmsim with one command: installs the
# packaging tools (scripts/packages-dist.txt, only the missing ones) and what building needs
# (scripts/packages.txt), builds and runs cpack. A fresh build folder gets a Release build of the
# programs alone, with Debian's hardening flags; an existing one (e.g. the one run-tests.sh made)
# is reused as it is configured, so only the packaging parts are added. Prints the paths of the
# packages, which are left in <build-dir>/packages.
#   scripts/build-packages.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build-packages"}

# Installs the packages of a list that are missing.
install_list() {
  local list=$1 pkg
  local -a missing=()
  while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done <"$list"
  ((${#missing[@]})) || return 0
  echo "build-packages: installing ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "build-packages: need root to install packages (run as root or install them first)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
}
install_list "$here/packages-dist.txt"

packaging=(-DKELVARIS_PACKAGING=ON -DCMAKE_INSTALL_PREFIX=/usr)
if [[ -f "$build/CMakeCache.txt" ]]; then
  install_list "$here/packages.txt"
  cmake -S "$root" -B "$build" "${packaging[@]}" >/dev/null
  cmake --build "$build" -j "${JOBS:-$(nproc)}" --target kelvaris kelvarisd kelvarisctl kelvaris-alarmsim kelvaris_man \
    kelvaris_debian_changelog
else
  # Debian's hardening flags (fortified functions, stack protector, read-only relocations bound
  # at start).
  export DEB_BUILD_MAINT_OPTIONS=${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}
  CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" BUILD_TYPE=Release \
    "$here/setup.sh" "$build" "${packaging[@]}" -DKELVARIS_BUILD_TESTS=OFF -DKELVARIS_BUILD_BENCH=OFF
fi

rm -rf "$build/packages"
# cpack builds everything of the folder first; in a reused folder that is built already.
(cd "$build" && cpack -G DEB >/dev/null)
echo "build-packages: the packages"
ls -1 "$build"/packages/*.deb
