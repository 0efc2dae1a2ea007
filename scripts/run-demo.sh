#!/usr/bin/env bash
# Builds Kelvaris and runs its demo installation: the data folder <build>/demo (written by
# make-demo.sh when missing), the alarm server simulator with the demo's receivers and groups on
# the D-Bus session bus (a private one under dbus-run-session when there is none), the schedule
# evaluated at this moment, then the desktop program when a display is available (DISPLAY or
# WAYLAND_DISPLAY; KELVARIS_DEMO_HEADLESS=1 skips it) and otherwise kelvarisd for a
# moment with what other programs see of it, and the simulator's log. Arguments after the build
# folder go to the desktop program (scripts/run-demo.sh build /min starts it minimised).
#   scripts/run-demo.sh [build-dir] [kelvaris arguments...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}
kelvaris_args=("${@:2}")

# Build once; the run under dbus-run-session below does not build again.
if [[ -z "${KELVARIS_DEMO_BUILT:-}" ]]; then
  "$here/setup.sh" "$build"
fi

# A session bus: the one of this session if it answers, else a private one for this run.
bus_answers() {
  [[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]] &&
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.GetId >/dev/null 2>&1
}
if ! bus_answers; then
  if [[ -n "${KELVARIS_DEMO_PRIVATE_BUS:-}" ]]; then
    echo "run-demo: no D-Bus session bus, even under dbus-run-session" >&2
    exit 1
  fi
  unset DBUS_SESSION_BUS_ADDRESS
  export KELVARIS_DEMO_BUILT=1 KELVARIS_DEMO_PRIVATE_BUS=1
  exec dbus-run-session -- bash "${BASH_SOURCE[0]}" "$@"
fi

build=$(cd "$build" && pwd)
bin="$build/bin"
export KELVARIS_DATA="$build/demo"
if [[ ! -f "$KELVARIS_DATA/kelvaris.cfg" ]]; then
  "$here/make-demo.sh" "$KELVARIS_DATA" "$bin"
fi

bus_name=${KELVARIS_ALARMSERVER_BUS_NAME:-com.ondrevi.AlarmServer}
log="$KELVARIS_DATA/alarmsim.log"
"$bin/kelvaris-alarmsim" --targets "$root/dist/demo/targets.cfg" --log "$log" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT

# The name must be owned by this simulator, not by one that was running before.
name_owned() {
  local owner
  owner=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:"$bus_name" 2>/dev/null |
    awk '/uint32/ { print $2 }')
  [[ "$owner" == "$sim" ]]
}
for _ in $(seq 100); do
  name_owned && break
  if ! kill -0 "$sim" 2>/dev/null; then
    echo "run-demo: the alarm server simulator ended at its start (see above)" >&2
    exit 1
  fi
  sleep 0.1
done
if ! name_owned; then
  echo "run-demo: the alarm server simulator did not take the bus name $bus_name" >&2
  exit 1
fi

# Ask the simulator once for its receivers and groups, as Kelvaris does when it loads.
targets=$(dbus-send --session --print-reply=literal --dest="$bus_name" /com/ondrevi/AlarmServer/ServerCommand \
  com.ondrevi.AlarmServer.ServerCommand.ExecuteCommand 'string:[GetValue(Setup.Targets)]')
echo "== The alarm server simulator's receivers and groups (name, number, ID, kind, colour)"
printf '%s\n' "$targets" | tr -d '\r' | sed 's/^ *//'
echo
echo "== The demo schedule now (kelvarisctl eval, data folder $KELVARIS_DATA)"
"$bin/kelvarisctl" eval
echo

# With a display: the desktop program on the demo installation, until its window is closed.
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]] && [[ -z "${KELVARIS_DEMO_HEADLESS:-}" ]]; then
  echo "== kelvaris on the demo installation (close its window to end the demo)"
  status=0
  "$bin/kelvaris" "${kelvaris_args[@]}" || status=$?
  echo
  echo "== The simulator's log ($log)"
  tail -n 20 "$log"
  exit "$status"
fi

echo "== kelvarisd (the service without a window) on the demo: its logbook, then what the alarm server and other programs see"
"$bin/kelvarisd" &
kelvaris=$!
trap 'kill "$kelvaris" "$sim" 2>/dev/null || true; wait "$kelvaris" "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  "$bin/kelvarisctl" check >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1
show() { echo "\$ kelvarisctl $*"; "$bin/kelvarisctl" "$@" || true; }
show check
show dispatch --id 101
show dde get System Topics
show dde get Shift Name
show dde get Shift Remain
show dde get Barring Name
show do "[setup(TB)]"
# The status board, as the demo's configuration leaves it: loopback, port 8470 (unless another
# program has that port; then kelvarisd said so above).
board=${KELVARIS_WEB_LISTEN:-127.0.0.1:8470}
if command -v curl >/dev/null && curl -fsS --max-time 5 "http://$board/api/v1/state" -o /dev/null 2>/dev/null; then
  echo "\$ curl http://$board/api/v1/state   (the board itself: http://$board/)"
  curl -fsS --max-time 5 "http://$board/api/v1/state" || true
fi
kill "$kelvaris"
wait "$kelvaris" || true
echo
echo "== The simulator's log ($log)"
tail -n 20 "$log"
