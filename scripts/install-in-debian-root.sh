#!/usr/bin/env bash
# Installs the Debian packages into a fresh Debian 12 root made with debootstrap and runs them
# there: kelvarisctl --version, then the demo (scripts/run-demo.sh with the installed programs:
# the simulator, kelvaris --headless for a moment and what other programs see of it) on a
# private session bus. Needs root and the network (about 200 MB the first time); not part of CI.
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
packages=("$debs"/kelvaris_*.deb "$debs"/kelvaris-alarmsim_*.deb)
if ((${#packages[@]} != 2)); then
  echo "install-in-debian-root: want one kelvaris_*.deb and one kelvaris-alarmsim_*.deb in $debs" >&2
  exit 1
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
in_root apt-get purge -y -q kelvaris kelvaris-alarmsim >/dev/null 2>&1 || true
in_root sh -c 'cd /tmp/kelvaris-debs && DEBIAN_FRONTEND=noninteractive apt-get install -y -q ./*.deb dbus' |
  grep -E '^(Setting up kelvaris|The following NEW|[0-9]+ upgraded)' || true

echo "== what the packages installed"
in_root dpkg-query -W -f='${Package} ${Version} ${Installed-Size} kB\n' kelvaris kelvaris-alarmsim
in_root dpkg -L kelvaris kelvaris-alarmsim | grep -E 'bin/|\.service$|man1|completions|metainfo|applications'

echo "== kelvarisctl --version; kelvaris --version; kelvaris-alarmsim --version"
in_root kelvarisctl --version
in_root kelvaris --version
in_root kelvaris-alarmsim --version

echo "== the demo with the installed programs (run-demo.sh, headless, private session bus)"
demo=/opt/kelvaris-demo
rm -rf "$target$demo"
mkdir -p "$target$demo/scripts" "$target$demo/dist" "$target$demo/build"
cp "$src/scripts/run-demo.sh" "$src/scripts/make-demo.sh" "$target$demo/scripts/"
cp -r "$src/dist/demo" "$target$demo/dist/"
ln -s /usr/bin "$target$demo/build/bin"
in_root KELVARIS_DEMO_BUILT=1 KELVARIS_DEMO_HEADLESS=1 bash "$demo/scripts/run-demo.sh" "$demo/build"
echo "== bus activation: no Kelvaris runs, the session bus starts kelvaris -Embedding for the call"
in_root dbus-run-session -- sh -c 'echo "\$ kelvarisctl do \"[setup(TB)]\""; kelvarisctl do "[setup(TB)]"; echo "exit code $?"' 2>&1 |
  grep -v 'Failed to set fd limit'
echo "== done: the packages install and run in a fresh Debian 12 root ($target)"
