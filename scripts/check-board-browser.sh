#!/usr/bin/env bash
# The status board as a person sees it: kelvarisd on the demo installation (with the alarm server
# simulator, on a private session bus), read by Debian's Chromium through chromium-driver and
# python3-selenium (check-board-browser.py): the board, a target's week and the wall view in the
# five languages, no console errors, axe-core's accessibility rules (from the npm registry), the
# pictures of the README's gallery; then a load of 200 requests a second for 60 seconds beside the
# socket at full rate (memory growth and the socket's answers).
#   scripts/check-board-browser.sh [build-dir] [--no-load]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}
load=1
[[ "${2:-}" == "--no-load" ]] && load=0

"$here/setup.sh" "$build"
need=()
for pkg in chromium chromium-driver python3-selenium curl dbus; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || need+=("$pkg")
done
if ((${#need[@]})); then
  if [[ $(id -u) != 0 ]] || ! { apt-get update -q && apt-get install -y -q --no-install-recommends "${need[@]}"; }; then
    echo "check-board-browser: skipped: ${need[*]} cannot be installed here (not root, or no package source)"
    exit 0
  fi
fi

# axe-core from the npm registry, at a fixed version whose tarball is checked against the
# registry's integrity value; kept in the build folder.
axe_version=4.10.2
axe="$build/axe-core-$axe_version/axe.min.js"
if [[ ! -f "$axe" ]]; then
  meta=$(curl -fsS "https://registry.npmjs.org/axe-core/$axe_version")
  tarball=$(python3 -c 'import json,sys; print(json.load(sys.stdin)["dist"]["tarball"])' <<<"$meta")
  integrity=$(python3 -c 'import json,sys; print(json.load(sys.stdin)["dist"]["integrity"])' <<<"$meta")
  tmp=$(mktemp -d)
  curl -fsS -o "$tmp/axe.tgz" "$tarball"
  got="sha512-$(openssl dgst -sha512 -binary "$tmp/axe.tgz" | base64 -w0)"
  if [[ "$got" != "$integrity" ]]; then
    echo "check-board-browser: the axe-core tarball does not match the registry's integrity value" >&2
    exit 1
  fi
  mkdir -p "$(dirname "$axe")"
  tar -xzf "$tmp/axe.tgz" -C "$tmp"
  cp "$tmp/package/axe.min.js" "$axe"
  rm -rf "$tmp"
fi

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$here/make-demo.sh" "$data/demo" "$build/bin" >/dev/null
export KELVARIS_DATA="$data/demo" KELVARIS_PIPE_NAME="kelvaris-board-check-$$" \
  KELVARIS_INSTANCE_NAME="kelvaris-board-check-$$" KELVARIS_WEB_LISTEN=127.0.0.1:0 LC_ALL=C.UTF-8
dbus-run-session -- /usr/bin/python3 "$here/check-board-browser.py" --build "$build" --axe "$axe" \
  --targets "$root/dist/demo/targets.cfg" --shots "$root/docs/screenshots" --load "$load"
