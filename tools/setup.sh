#!/usr/bin/env bash
# Installs the Debian packages that are missing: those that building and running Tarvo need,
# and with --tests also those of the tests, benchmarks and package checks (dpkg-dev and lintian:
# the test of the Debian package).
# Usage: tools/setup.sh [--tests]
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libsqlite3-dev libjpeg62-turbo-dev libgif-dev
  fonts-liberation2 fonts-dejavu-core qt6-translations-l10n
)
if [[ "${1:-}" == "--tests" ]]; then
  packages+=(
    clang libclang-rt-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    desktop-file-utils libglib2.0-bin sqlite3 appstream shared-mime-info
    xvfb xdotool x11-utils libxcb1-dev openbox
    dbus-daemon at-spi2-core python3-pyatspi
    locales man-db poppler-utils
    openssl dpkg-dev lintian
  )
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
