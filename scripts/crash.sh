#!/usr/bin/env bash
# Kills the real program at random moments of a whole catalogue take-over, a
# discount import and a quantity-list write-back, and prints per scenario
#   BENCH crash.<scenario> <runs> runs corrupt <n>
# (and every kill that left something wrong).
#   scripts/crash.sh [RUNS]    RUNS kills per scenario, 20 unless given
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" >/dev/null
cmake --build "$BUILD_DIR" -j2 --target test_crash >/dev/null
SUITE_CRASH_RUNS=${1:-20} QT_QPA_PLATFORM=offscreen "$BUILD_DIR/tests/test_crash" |
  grep -E '^BENCH|killed after|FAILED' || true
