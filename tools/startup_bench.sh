#!/usr/bin/env bash
# Measures the program's start-up time (process start to window mapped) and resident memory
# against a minimal Qt Widgets program of the same size, side by side, on a private Xvfb
# display with private settings folders. Usage: tools/startup_bench.sh [build folder] [rounds]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${root}/build}"
cmake --build "${build}" --target startup_bench >/dev/null
home="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"${home}/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill ${xvfb} 2>/dev/null; rm -rf "${home}"' EXIT
for _ in $(seq 50); do [[ -s "${home}/display" ]] && break; sleep 0.1; done
mkdir -p "${home}/config" "${home}/runtime"
chmod 700 "${home}/runtime"
DISPLAY=":$(cat "${home}/display")" XDG_CONFIG_HOME="${home}/config" \
  XDG_RUNTIME_DIR="${home}/runtime" QT_QPA_PLATFORM=xcb \
  "${build}/bench/startup_bench" "${2:-15}"
