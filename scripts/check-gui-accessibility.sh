#!/usr/bin/env bash
# Reads the program as a screen reader does: the README's run command under a virtual X display
# with a window manager (openbox) and the accessibility bus of at-spi2-core, read by
# check-gui-accessibility.py through Debian's python3-pyatspi (names and roles of the main window,
# the planning dialog's grid and the cell under the focus, one editor).
#   scripts/check-gui-accessibility.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}

"$here/setup.sh" "$build"
need=()
for pkg in xvfb xauth x11-utils openbox xdotool at-spi2-core python3-pyatspi dbus-x11; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || need+=("$pkg")
done
if ((${#need[@]})); then
  [[ $(id -u) == 0 ]] || { echo "check-gui-accessibility: needs ${need[*]}" >&2; exit 1; }
  apt-get update -q && apt-get install -y -q --no-install-recommends "${need[@]}"
fi

export KELVARIS_DEMO_BUILT=1
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# One private session bus for the demo, the accessibility bus it starts and the reader; English
# texts; Qt exposes its widgets on the accessibility bus without waiting for a screen reader to
# ask.
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash -c '
  export LC_ALL=C.UTF-8 LANGUAGE=en QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
  openbox >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
  setsid "$0/scripts/run-demo.sh" "$1" >"$2" 2>&1 &
  demo=$!
  status=0
  /usr/bin/python3 "$0/scripts/check-gui-accessibility.py" || status=$?
  kill -TERM -- "-$demo" 2>/dev/null || true
  wait "$demo" 2>/dev/null || true
  kill "$wm" 2>/dev/null || true
  wait "$wm" 2>/dev/null || true
  if (( status != 0 )); then
    echo "check-gui-accessibility: the run printed:" >&2
    tail -n 30 "$2" >&2
  fi
  exit "$status"
' "$root" "$build" "$log"
