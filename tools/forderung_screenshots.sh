#!/usr/bin/env bash
# Takes docs/forderung.png (the claims statement's window at 1:1 with the worked case "Müller ./.
# Schmidt": two claims, two costs, two payments) and docs/forderung-pdf.png (the first page of
# its PDF), under Xvfb.
# Usage: tools/forderung_screenshots.sh [build folder] [display number]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${root}/build}"
display=":${2:-95}"
tarvo="${build}/app/tarvo"
probe="${build}/tests/e2e/display_probe"
home="$(mktemp -d)"
Xvfb "${display}" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill ${xvfb} 2>/dev/null; rm -rf "${home}"' EXIT
mkdir -p "${home}/config" "${home}/data" "${home}/runtime"
chmod 700 "${home}/runtime"
export XDG_CONFIG_HOME="${home}/config" XDG_DATA_HOME="${home}/data"
export XDG_RUNTIME_DIR="${home}/runtime" DISPLAY="${display}" QT_QPA_PLATFORM=xcb
sleep 1

"${tarvo}" "${root}/tests/engine/data/mueller-schmidt.tarvo" &
pid=$!
window="$(xdotool search --sync --name '^Müller ./. Schmidt – Forderungsaufstellung$')"
xdotool windowfocus --sync "${window}"
sleep 1
"${probe}" shot "${window}" "${root}/docs/forderung.png"

# Als PDF (Alt+P), the path typed into the file dialog.
pdf="${home}/Forderungsaufstellung.pdf"
xdotool key alt+p
sleep 1
xdotool key ctrl+a
xdotool type --delay 10 "${pdf}"
xdotool key Return
for _ in $(seq 50); do [[ -s "${pdf}" ]] && break; sleep 0.1; done
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "${pdf}" "${root}/docs/forderung-pdf"
kill -TERM "${pid}" && wait "${pid}" || true
echo "written: docs/forderung.png, docs/forderung-pdf.png"
