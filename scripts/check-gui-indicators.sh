#!/usr/bin/env bash
# Runs the main window's lock indicator test on a virtual X display, where the keyboard extension
# reports the lock keys: xdotool presses Caps Lock and Num Lock, and "CAP" and "NUM" must show in
# the status bar and go again. (Under the offscreen platform of ctest the same test checks that
# the indicators are hidden.)
#   scripts/check-gui-indicators.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}

BUILD_TARGETS="${BUILD_TARGETS:-test_gui_mainframe}" "$here/setup.sh" "$build"
if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
  [[ $(id -u) == 0 ]] || { echo "check-gui-indicators: needs xvfb and xdotool" >&2; exit 1; }
  apt-get update -q && apt-get install -y -q --no-install-recommends xvfb xauth xdotool
fi

out=$(xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 \
  "$build/bin/test_gui_mainframe" lockIndicators 2>&1) || {
  printf '%s\n' "$out" >&2
  echo "check-gui-indicators: the lock indicators do not follow the keys" >&2
  exit 1
}
if ! grep -q '^PASS *: MainFrameTest::lockIndicators()' <<<"$out"; then
  printf '%s\n' "$out" >&2
  echo "check-gui-indicators: the test did not run on X11" >&2
  exit 1
fi
echo "check-gui-indicators: \"CAP\" and \"NUM\" followed Caps Lock and Num Lock pressed by xdotool"
