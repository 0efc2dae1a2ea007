#!/usr/bin/env bash
# Installs the Debian packages into a fresh Debian 12 root made with debootstrap and runs them
# there: kelvarisctl --version, then the demo (scripts/run-demo.sh with the installed programs:
# the simulator, kelvarisd for a moment and what other programs see of it) on a private session
# bus. Needs root and the network (about 200 MB the first time); not part of CI.
# KELVARIS_SERVICE_ONLY=1 installs kelvaris-service and kelvaris-alarmsim alone (no desktop
# program) with --no-install-recommends and says how many packages and megabytes that pulled in
# and whether any is a display library (mesa, X, LLVM).
#   scripts/install-in-debian-root.sh [dir-of-debs] [root-dir]
# The root is made once and kept (KELVARIS_FRESH_ROOT=1 makes it again); the packages are
# installed anew each time.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
src=$(dirname "$here")
debs=${1:-"$src/build-packages/packages"}
target=${2:-/var/tmp/kelvaris-bookworm}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

if [[ $(id -u) -ne 0 ]]; then
  echo "install-in-debian-root: needs root (debootstrap, chroot, mount)" >&2
  exit 1
fi
shopt -s nullglob
packages=("$debs"/kelvaris-service_*.deb "$debs"/kelvaris_*.deb "$debs"/kelvaris-alarmsim_*.deb)
if ((${#packages[@]} != 3)); then
  echo "install-in-debian-root: want one kelvaris-service_*.deb, kelvaris_*.deb and kelvaris-alarmsim_*.deb in $debs" >&2
  exit 1
fi
service_only=${KELVARIS_SERVICE_ONLY:-}
if [[ -n "$service_only" ]]; then
  packages=("$debs"/kelvaris-service_*.deb "$debs"/kelvaris-alarmsim_*.deb)
  # A root of its own, so that nothing a desktop install pulled in counts.
  target=${2:-/var/tmp/kelvaris-bookworm-service}
fi
if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap
fi

if [[ -n "${KELVARIS_FRESH_ROOT:-}" ]]; then
  rm -rf --one-file-system "$target"
fi
if [[ ! -x "$target/usr/bin/apt-get" ]]; then
  echo "== debootstrap bookworm into $target"
  debootstrap --variant=minbase bookworm "$target" "$mirror" >"$target.debootstrap.log" 2>&1 || {
    tail -n 20 "$target.debootstrap.log" >&2
    exit 1
  }
fi

mounts=()
cleanup() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || true; done
}
trap cleanup EXIT
mount -t proc proc "$target/proc" && mounts+=("$target/proc")
mount --bind /dev "$target/dev" && mounts+=("$target/dev")
cp /etc/resolv.conf "$target/etc/resolv.conf"

in_root() { chroot "$target" /usr/bin/env -i HOME=/root LANG=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }

echo "== apt-get install the packages (and dbus for the demo)"
rm -rf "$target/tmp/kelvaris-debs"
mkdir -p "$target/tmp/kelvaris-debs"
cp "${packages[@]}" "$target/tmp/kelvaris-debs/"
in_root apt-get update -q >/dev/null
in_root apt-get purge -y -q kelvaris kelvaris-service kelvaris-alarmsim >/dev/null 2>&1 || true
in_root apt-get autoremove -y -q >/dev/null 2>&1 || true
before_packages=$(in_root dpkg-query -W -f='${Package}\n' | sort)
before_kb=$(in_root dpkg-query -W -f='${Installed-Size}\n' | awk '{ s += $1 } END { print s }')
recommends=()
[[ -n "$service_only" ]] && recommends=(--no-install-recommends)
in_root sh -c "cd /tmp/kelvaris-debs && DEBIAN_FRONTEND=noninteractive apt-get install -y -q ${recommends[*]} ./*.deb dbus" |
  grep -E '^(Setting up kelvaris|The following NEW|[0-9]+ upgraded)' || true
after_kb=$(in_root dpkg-query -W -f='${Installed-Size}\n' | awk '{ s += $1 } END { print s }')
added=$(comm -13 <(printf '%s\n' "$before_packages") <(in_root dpkg-query -W -f='${Package}\n' | sort))
echo "== the install pulled in $(wc -l <<<"$added") packages, $(((after_kb - before_kb) / 1024)) MB installed size"
if grep -Eq '^(libgl1|libglx|libegl|libgbm|mesa|libllvm|libx11|libxcb|libqt6gui|libqt6widgets)' <<<"$added"; then
  echo "   among them display libraries: $(grep -E '^(libgl1|libglx|libegl|libgbm|mesa|libllvm|libx11|libxcb|libqt6gui|libqt6widgets)' <<<"$added" | paste -sd ' ')"
else
  echo "   none of them a display library (mesa, GL, X, LLVM, Qt GUI)"
fi

echo "== what the packages installed"
installed=(kelvaris-service kelvaris-alarmsim)
[[ -z "$service_only" ]] && installed+=(kelvaris)
in_root dpkg-query -W -f='${Package} ${Version} ${Installed-Size} kB\n' "${installed[@]}"
in_root dpkg -L "${installed[@]}" | grep -E 'bin/|\.service$|man1|completions|metainfo|applications'

echo "== the programs' versions"
in_root kelvarisctl --version
in_root kelvarisd --version
[[ -z "$service_only" ]] && in_root kelvaris --version
in_root kelvaris-alarmsim --version

echo "== the demo with the installed programs (run-demo.sh, headless, private session bus)"
demo=/opt/kelvaris-demo
rm -rf "$target$demo"
mkdir -p "$target$demo/scripts" "$target$demo/dist" "$target$demo/build"
cp "$src/scripts/run-demo.sh" "$src/scripts/make-demo.sh" "$target$demo/scripts/"
cp -r "$src/dist/demo" "$target$demo/dist/"
ln -s /usr/bin "$target$demo/build/bin"
in_root KELVARIS_DEMO_BUILT=1 KELVARIS_DEMO_HEADLESS=1 bash "$demo/scripts/run-demo.sh" "$demo/build"
echo "== bus activation: no Kelvaris runs, the session bus starts kelvarisd -Embedding for the call"
in_root dbus-run-session -- sh -c 'echo "\$ kelvarisctl do \"[setup(TB)]\""; kelvarisctl do "[setup(TB)]"; echo "exit code $?"' 2>&1 |
  grep -v 'Failed to set fd limit'
echo "== done: the packages install and run in a fresh Debian 12 root ($target)"
