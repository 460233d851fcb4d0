#!/usr/bin/env bash
# Takes docs/verzug.png (the default-interest window at 1:1 after the first worked case:
# 3.089,00 € from 17.04.2025 to 20.02.2026, consumer, taggenau) and docs/verzug-pdf.png (the
# first page of its PDF), under Xvfb. With a scale factor as third argument it takes only the
# window, as docs/verzug@<factor>x.png, to look at (not committed).
# Usage: tools/verzug_screenshots.sh [build folder] [display number] [scale factor]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${root}/build}"
display=":${2:-96}"
scale="${3:-1}"
tarvo="${build}/app/tarvo"
probe="${build}/tests/e2e/display_probe"
home="$(mktemp -d)"
Xvfb "${display}" -screen 0 "$([[ "${scale}" == 1 ]] && echo 1600x1000 || echo 2560x1600)x24" \
  -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill ${xvfb} 2>/dev/null; rm -rf "${home}"' EXIT
mkdir -p "${home}/config" "${home}/data" "${home}/runtime"
chmod 700 "${home}/runtime"
export XDG_CONFIG_HOME="${home}/config" XDG_DATA_HOME="${home}/data"
export XDG_RUNTIME_DIR="${home}/runtime" DISPLAY="${display}" QT_QPA_PLATFORM=xcb
sleep 1

QT_SCALE_FACTOR="${scale}" "${tarvo}" --verzug &
pid=$!
window="$(xdotool search --sync --name '^Verzugszinsen – Tarvo$')"
xdotool windowfocus --sync "${window}"
sleep 0.5
# Amount, Tab, first day, Tab, last day, Enter: the rule and day count are the first opening's.
xdotool type --delay 30 3089
xdotool key Tab
xdotool type --delay 30 17042025
xdotool key Tab
xdotool type --delay 30 20022026
xdotool key Return
sleep 0.5
if [[ "${scale}" != 1 ]]; then
  "${probe}" shot "${window}" "${root}/docs/verzug@${scale}x.png"
  kill -TERM "${pid}" && wait "${pid}" || true
  echo "written: docs/verzug@${scale}x.png"
  exit 0
fi
"${probe}" shot "${window}" "${root}/docs/verzug.png"

# PDF speichern (Alt+D), the path typed into the file dialog.
pdf="${home}/Zinsaufstellung.pdf"
xdotool key alt+d
sleep 1
xdotool key ctrl+a
xdotool type --delay 10 "${pdf}"
xdotool key Return
for _ in $(seq 50); do [[ -s "${pdf}" ]] && break; sleep 0.1; done
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "${pdf}" "${root}/docs/verzug-pdf"
kill -TERM "${pid}" && wait "${pid}" || true
echo "written: docs/verzug.png, docs/verzug-pdf.png"
