#!/usr/bin/env bash
# Makes the pictures of the README's gallery in docs/screenshots/: the main window, the shift,
# barrier/pause and holiday lists with their entry dialogs and the planning dialog, in English and
# German, as the layout test (test_gui_layout_fit) draws them under the offscreen platform with
# the demo's records; the planner with the keyboard focus and a whole 1024x768 screen under Xvfb
# with openbox; and, when Debian's chromium is installed or can be installed, a month export
# of the demo's receivers (kelvarisctl export against the alarm server simulator on a private
# session bus) as chromium draws it.
#   scripts/make-screenshots.sh [build-dir]
# Environment: KELVARIS_SCREENSHOT_NO_EXPORT=1 leaves the export picture out.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}
out="$root/docs/screenshots"

# Under dbus-run-session (for the export) the build has been done already.
if [[ -z "${KELVARIS_SCREENSHOTS_BUILT:-}" ]]; then
  BUILD_TARGETS="test_gui_layout_fit kelvarisctl kelvaris-alarmsim" JOBS="${JOBS:-2}" "$here/setup.sh" "$build"
fi
build=$(cd "$build" && pwd)
bin="$build/bin"
mkdir -p "$out"

if [[ -z "${KELVARIS_SCREENSHOTS_BUILT:-}" ]]; then
  shots=$(mktemp -d)
  trap 'rm -rf "$shots"' EXIT
  echo "make-screenshots: drawing the dialogs (test_gui_layout_fit)"
  QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 TZ=UTC KELVARIS_SCREENSHOT_DIR="$shots" \
    "$bin/test_gui_layout_fit" everyWindowFits:en everyWindowFits:de >"$shots/test.log" 2>&1 || {
    cat "$shots/test.log" >&2
    echo "make-screenshots: the layout test failed; its pictures are not taken over" >&2
    exit 1
  }
  for name in mainwindow shifts shift barriers barrier holidays holiday planning history historyentry notices; do
    for lang in en de; do
      cp "$shots/$name-$lang.png" "$out/$name-$lang.png"
    done
  done
  # Planning by keyboard, and the whole of a 1024x768 screen with a window manager (openbox).
  if command -v xvfb-run >/dev/null && command -v openbox >/dev/null; then
    echo "make-screenshots: a 1024x768 screen and the planner with the keyboard focus (Xvfb, openbox)"
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
      openbox >/dev/null 2>&1 &
      wm=$!
      sleep 1
      QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 TZ=UTC KELVARIS_SCREENSHOT_DIR="$1" "$2" galleryPictures
      status=$?
      kill "$wm"
      exit "$status"
    ' bash "$shots" "$bin/test_gui_layout_fit" >>"$shots/test.log" 2>&1 || {
      cat "$shots/test.log" >&2
      exit 1
    }
    cp "$shots/planning-keyboard-en.png" "$shots/screen-1024x768-en.png" "$out/"
  else
    echo "make-screenshots: no xvfb-run or openbox; the 1024x768 and keyboard pictures are left as they are" >&2
  fi
fi

# The export picture: chromium from Debian (installed here when possible).
if [[ -n "${KELVARIS_SCREENSHOT_NO_EXPORT:-}" ]]; then
  exit 0
fi
if ! command -v chromium >/dev/null 2>&1; then
  if [[ $(id -u) -eq 0 ]]; then
    echo "make-screenshots: installing chromium for the export picture"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q chromium >/dev/null || true
  fi
  if ! command -v chromium >/dev/null 2>&1; then
    echo "make-screenshots: no chromium; the export picture is left out" >&2
    exit 0
  fi
fi

# The simulator and kelvarisctl meet on a private session bus.
if [[ -z "${KELVARIS_SCREENSHOTS_PRIVATE_BUS:-}" ]]; then
  unset DBUS_SESSION_BUS_ADDRESS
  KELVARIS_SCREENSHOTS_BUILT=1 KELVARIS_SCREENSHOTS_PRIVATE_BUS=1 \
    exec dbus-run-session -- bash "${BASH_SOURCE[0]}" "$build"
fi

data=$(mktemp -d)
export KELVARIS_DATA="$data" TMPDIR="$data"
export KELVARIS_ALARMSERVER_BUS_NAME="com.ondrevi.AlarmServerScreenshots.x$$"
"$here/make-demo.sh" "$data" "$bin" >/dev/null
"$bin/kelvaris-alarmsim" --targets "$root/dist/demo/targets.cfg" --log "$data/alarmsim.log" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$data"' EXIT
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:"$KELVARIS_ALARMSERVER_BUS_NAME" 2>/dev/null |
    grep -q 'boolean true' && break
  sleep 0.1
done

html=$(LC_ALL=C.UTF-8 "$bin/kelvarisctl" export --all receivers --month)
echo "make-screenshots: rendering $html"
# chromium writes its profile and crash folders under HOME.
HOME="$data" chromium --headless --no-sandbox --disable-gpu --hide-scrollbars \
  --screenshot="$out/export-en.png" --window-size=1400,1000 "file://$html" >/dev/null 2>&1
ls -l "$out"
