#!/usr/bin/env bash
# The program's start against the bare Qt window of the shared start-up yardstick (a window of
# the bar's size with a few labels and two line edits), both under one private Xvfb without a
# window manager, with fresh settings and the German locale.
#
#   tools/startup_bench.sh [rounds] [another tarvo]
#       Timed: both started alternately; medians of process start to window mapped, to first
#       frame drawn, and of peak resident memory, with their ratios and the load average
#       before and after (other work on the machine slows the figures).
#   tools/startup_bench.sh --instructions [another tarvo]
#       Counted: the instructions each takes to its first frame and idle loop under callgrind,
#       deterministic whatever else runs, with the main parts of the start.
#
# The yardstick lives beside the checkout (../shared/perf) unless TARVO_PERF names it; the
# counting needs valgrind and the benchmarks built (build/bench).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
kit="${TARVO_PERF:-${root}/../shared/perf}"
[[ -x "${kit}/pair.sh" ]] || { echo "no start-up yardstick at ${kit} (set TARVO_PERF)" >&2; exit 1; }
perf_build="${PERF_BUILD:-/tmp/tarvo-perf}"
baseline="${perf_build}/qt_baseline"
[[ -x "${baseline}" ]] || PERF_BUILD="${perf_build}" "${kit}/build.sh" >&2
load() { cut -d' ' -f1-3 /proc/loadavg; }

if [[ "${1:-}" != "--instructions" ]]; then
  rounds="${1:-21}"
  cmake --build "${root}/build" --target tarvo >/dev/null
  echo "load average before: $(load)"
  "${kit}/pair.sh" -n "${rounds}" qt_baseline "${baseline}" tarvo "${root}/build/app/tarvo"
  if [[ -n "${2:-}" ]]; then
    echo
    "${kit}/pair.sh" -n "${rounds}" qt_baseline "${baseline}" other "$2"
  fi
  echo "load average after: $(load)"
  exit 0
fi

cmake --build "${root}/build" --target tarvo tarvo_startup_idle >/dev/null
idle="${root}/build/bench/libtarvo_startup_idle.so"
work="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"${work}/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill ${xvfb} 2>/dev/null; wait ${xvfb} 2>/dev/null; rm -rf "${work}"' EXIT
for _ in $(seq 100); do [[ -s "${work}/display" ]] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "${work}/display")" LANG=de_DE.UTF-8 NO_AT_BRIDGE=1
export HOME="${work}/home" XDG_CONFIG_HOME="${work}/home/.config" XDG_RUNTIME_DIR="${work}/runtime"
export DBUS_SESSION_BUS_ADDRESS="unix:path=${work}/runtime/no-bus"
mkdir -p "${XDG_CONFIG_HOME}"
mkdir -m 700 "${XDG_RUNTIME_DIR}"

# Inclusive instructions of the first function whose line holds the name, 0 when none does.
part() {
  awk -v name="$2" 'index($0, name) && $2 ~ /^\(/ { gsub(",", "", $1); print $1; found = 1; exit }
    END { if (!found) print 0 }' "$1"
}
count() {
  local label="$1" program="$2" out="${work}/$1.out"
  LD_PRELOAD="${idle}" "${program}" >/dev/null 2>&1 || true # a first start writes its settings
  LD_PRELOAD="${idle}" valgrind --tool=callgrind --callgrind-out-file="${out}" "${program}" \
    >/dev/null 2>&1 || true
  callgrind_annotate --inclusive=yes "${out}" >"${out}.txt" 2>/dev/null
  # The font configuration: fontconfig's own start, or the program's reading of it.
  LC_ALL=C awk -v label="${label}" -v total="$(part "${out}.txt" "PROGRAM TOTALS")" \
    -v loader="$(part "${out}.txt" "rtld.c:_dl_start ")" \
    -v app="$(part "${out}.txt" "QApplication::QApplication(")" \
    -v own="$(part "${out}.txt" "FcInitLoadConfigAndFonts ")" \
    -v read="$(part "${out}.txt" "LoadFontConfiguration()")" \
    -v frame="$(part "${out}.txt" "QApplication::exec()")" \
    'BEGIN { printf "%-12s %8.1f %8.1f %8.1f %8.1f %8.1f\n", label, total / 1e6, loader / 1e6,
             app / 1e6, (own > read ? own : read) / 1e6, frame / 1e6 }'
  part "${out}.txt" "PROGRAM TOTALS" >"${work}/$1.total"
}
echo "instructions to the idle loop, millions (callgrind):"
LC_ALL=C printf "%-12s %8s %8s %8s %8s %8s\n" "" total loader QApp fontconf paint
count qt_baseline "${baseline}"
count tarvo "${root}/build/app/tarvo"
LC_ALL=C awk -v a="$(cat "${work}/qt_baseline.total")" -v b="$(cat "${work}/tarvo.total")" \
  'BEGIN { printf "ratio tarvo/qt_baseline: %.3fx\n", b / a }'
if [[ -n "${2:-}" ]]; then
  count other "$2"
  LC_ALL=C awk -v a="$(cat "${work}/qt_baseline.total")" -v b="$(cat "${work}/other.total")" \
    'BEGIN { printf "ratio other/qt_baseline: %.3fx\n", b / a }'
fi
