#!/usr/bin/env bash
# Starts the README's run command with /min (scripts/run-demo.sh <build> /min) under a virtual X
# display with a window manager (openbox) and checks that the window titled "Kelvaris" appears
# minimised: its WM_STATE, which only the window manager sets, must be Iconic within 5 seconds.
#   scripts/check-gui-minimised.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}

"$here/setup.sh" "$build"
if ! command -v xwininfo >/dev/null || ! command -v xprop >/dev/null || ! command -v xvfb-run >/dev/null ||
  ! command -v openbox >/dev/null; then
  [[ $(id -u) == 0 ]] || { echo "check-gui-minimised: needs xvfb, x11-utils and openbox" >&2; exit 1; }
  apt-get update -q && apt-get install -y -q --no-install-recommends xvfb xauth x11-utils openbox
fi

export KELVARIS_DEMO_BUILT=1 # built above: the run command goes straight to the demo
log=$(mktemp)
trap 'rm -f "$log"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  # The window manager owns the screen before the program starts, as on a desktop.
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
  setsid "$0/scripts/run-demo.sh" "$1" /min >"$2" 2>&1 &
  demo=$!
  # The WM_STATE of every top-level window titled "Kelvaris" that the window manager manages.
  states() {
    local id
    for id in $(xwininfo -root -tree 2>/dev/null | awk "/\"Kelvaris\"/ { print \$1 }"); do
      xprop -id "$id" WM_STATE 2>/dev/null | awk "/window state:/ { print \$3 }"
    done
  }
  start=$(date +%s%N)
  state=""
  while (( $(date +%s%N) - start < 5000000000 )); do
    state=$(states | sort -u | paste -sd " ")
    [[ "$state" == Iconic ]] && break
    sleep 0.1
  done
  kill -TERM -- "-$demo" 2>/dev/null || true
  wait "$demo" 2>/dev/null || true
  kill "$wm" 2>/dev/null || true
  wait "$wm" 2>/dev/null || true
  if [[ "$state" == Iconic ]]; then
    echo "check-gui-minimised: the window titled \"Kelvaris\" started minimised (WM_STATE Iconic)"
    exit 0
  fi
  echo "check-gui-minimised: the window titled \"Kelvaris\" is not minimised 5 seconds after the" \
    "start (WM_STATE: ${state:-none}); the run printed:" >&2
  cat "$2" >&2
  exit 1
' "$root" "$build" "$log"
