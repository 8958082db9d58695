#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo suite under demo-suite/
# and opens the editor on it.
#   ./run.sh                     open the window (needs a display)
#   ./run.sh --screenshot FILE   render the window to a PNG and exit
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
export BUILD_DIR=build
./scripts/build.sh -DSANITIZE=OFF
ROOT="$PWD/demo-suite"
if [ ! -f "$ROOT/DATA/DEMO/ETC/SYSDATA.INI" ]; then
  "$BUILD_DIR/tools/suiteadm" demo "$ROOT"
fi
cmake --install "$BUILD_DIR" --prefix "$ROOT" >/dev/null
if [ "${1:-}" = "--screenshot" ]; then
  [ -n "${2:-}" ] || { echo "usage: ./run.sh --screenshot FILE" >&2; exit 2; }
  out=$(realpath -m "$2")
  QT_QPA_PLATFORM=offscreen exec "$ROOT/BIN/MOD00100" DEMO ADMIN --screenshot "$out"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MSG
No display found. Either
  - run it inside a virtual display:  xvfb-run -a ./run.sh
    (or start one: Xvfb :99 & export DISPLAY=:99)
  - or render the window to a picture: ./run.sh --screenshot shot.png
MSG
  exit 1
fi
exec "$ROOT/BIN/MOD00100" DEMO ADMIN
