#!/usr/bin/env bash
# Takes docs/bar.png (1:1) and docs/bar@2x.png (QT_SCALE_FACTOR=2): the bar under Xvfb after
# the deutsche example (1000 at 10 % from 15.01.2005 to 15.03.2005) has been typed in and
# calculated. Usage: tools/screenshots.sh [build folder] [display number]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${root}/build}"
display=":${2:-97}"
tarvo="${build}/app/tarvo"
home="$(mktemp -d)"
Xvfb "${display}" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill ${xvfb} 2>/dev/null; rm -rf "${home}"' EXIT
mkdir -p "${home}/config" "${home}/runtime"
chmod 700 "${home}/runtime"
export XDG_CONFIG_HOME="${home}/config" XDG_RUNTIME_DIR="${home}/runtime" DISPLAY="${display}"
export QT_QPA_PLATFORM=xcb
sleep 1

# A first run writes the settings; then the formula becomes deutsche.
QT_QPA_PLATFORM=offscreen "${tarvo}" &
sleep 1
kill -TERM $! && wait $!
sqlite3 "${XDG_CONFIG_HOME}/tarvo/registry.db" \
  "UPDATE reg_value SET data = X'01000000' WHERE folded = 'FORMEL'"

shoot() { # scale, output file
  QT_SCALE_FACTOR="$1" "${tarvo}" &
  local pid=$!
  local window
  window="$(xdotool search --sync --name '^Tarvo 2\.3 Freeware$')"
  xdotool windowfocus --sync "${window}"
  sleep 0.3
  for text in 1000 15012005 15032005 ''; do
    [[ -n "${text}" ]] && xdotool type --delay 30 "${text}"
    xdotool key Return
    sleep 0.2
  done
  sleep 0.3
  import -window "${window}" "$2"
  kill -TERM "${pid}" && wait "${pid}"
}
shoot 1 "${root}/docs/bar.png"
shoot 2 "${root}/docs/bar@2x.png"
echo "written: docs/bar.png, docs/bar@2x.png"
