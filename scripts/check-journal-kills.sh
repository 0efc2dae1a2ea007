#!/bin/sh
# The edit journal under SIGKILL, in full: writers killed N times (default 200) while they
# append; after every kill the chain must verify and every entry a writer was told was written
# must be there. ctest runs the same test with 20 kills.
# Usage: scripts/check-journal-kills.sh [BUILD_DIR] [KILLS]
set -eu
build=${1:-build}
kills=${2:-200}
start=$(date +%s.%N)
KELVARIS_KILL_ROUNDS=$kills "$build/bin/test_journal" --gtest_filter='JournalTest.KilledWritersLoseNothingTheyWereToldWasWritten'
end=$(date +%s.%N)
echo "check-journal-kills: $kills kills, chain intact and nothing reported lost, in $(awk "BEGIN { printf \"%.1f\", $end - $start }") s"
