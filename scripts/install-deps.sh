#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need.
# Does nothing when everything is there. --fuzz adds clang and its
# sanitizer runtimes for scripts/fuzz.sh.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev qt6-translations-l10n
  libsqlite3-dev sqlite3 libexpat1-dev gettext nettle-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  locales
)
if [ "${1:-}" = "--fuzz" ]; then packages+=(clang-14 libclang-rt-14-dev); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
