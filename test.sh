#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   ./test.sh             normal build in build/
#   ./test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
if [ "${1:-}" = "--sanitize" ]; then
  export BUILD_DIR=build-asan
  ./scripts/build.sh -DSANITIZE=ON
  export ASAN_OPTIONS=detect_leaks=0
  export UBSAN_OPTIONS=print_stacktrace=1
else
  export BUILD_DIR=build
  ./scripts/build.sh -DSANITIZE=OFF
fi
cd "$BUILD_DIR"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j2 --timeout 300
