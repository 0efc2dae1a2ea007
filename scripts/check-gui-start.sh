#!/usr/bin/env bash
# Starts the README's run command (scripts/run-demo.sh) under a virtual X display and checks that
# a top-level window titled "Kelvaris" appears within 5 seconds of the start. The build comes first
# and is not counted.
#   scripts/check-gui-start.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}

"$here/setup.sh" "$build"
if ! command -v xwininfo >/dev/null || ! command -v xvfb-run >/dev/null; then
  [[ $(id -u) == 0 ]] || { echo "check-gui-start: needs xvfb and x11-utils" >&2; exit 1; }
  apt-get update -q && apt-get install -y -q xvfb xauth x11-utils
fi

export KELVARIS_DEMO_BUILT=1 # built above: the run command goes straight to the demo
log=$(mktemp)
trap 'rm -f "$log"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  setsid "$0/scripts/run-demo.sh" "$1" >"$2" 2>&1 &
  demo=$!
  start=$(date +%s%N)
  found=""
  for _ in $(seq 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"Kelvaris\""; then
      found=$(( ($(date +%s%N) - start) / 1000000 ))
      break
    fi
    sleep 0.05
    (( $(date +%s%N) - start < 5000000000 )) || break
  done
  kill -TERM -- "-$demo" 2>/dev/null || true
  wait "$demo" 2>/dev/null || true
  if [[ -n "$found" ]]; then
    echo "check-gui-start: a window titled \"Kelvaris\" appeared after $found ms"
    exit 0
  fi
  echo "check-gui-start: no window titled \"Kelvaris\" within 5 seconds; the run printed:" >&2
  cat "$2" >&2
  exit 1
' "$root" "$build" "$log"
