#!/usr/bin/env bash
# The watchdog check in full: kelvaris --headless under a NOTIFY_SOCKET listener with WatchdogSec=30
# while the alarm server simulator is frozen (SIGSTOP) for five minutes; prints the longest gap
# between WATCHDOG=1 and how many socket checks were answered meanwhile. ctest runs the same check
# for 65 s.
#   scripts/check-frozen-alarm-server.sh [build-dir] [seconds]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-"$(dirname "$here")/build"}
KELVARIS_FROZEN_SECONDS=${2:-300} "$build/bin/test_e2e_service" \
  --gtest_filter='ServiceProgramTest.WatchdogKeepsBeingFedWhileTheAlarmServerIsFrozen'
