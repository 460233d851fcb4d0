#!/usr/bin/env bash
# The program's start against the bare Qt window of the shared start-up yardstick: both started
# alternately under one private Xvfb, fresh settings, German locale; medians of process start to
# window mapped, to first frame drawn, and of peak resident memory, with their ratios.
# Usage: tools/startup_bench.sh [rounds] [another tarvo to measure the same way, e.g. an older build]
# The yardstick lives beside the checkout (../shared/perf) unless TARVO_PERF names it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
kit="${TARVO_PERF:-${root}/../shared/perf}"
[[ -x "${kit}/pair.sh" ]] || { echo "no start-up yardstick at ${kit} (set TARVO_PERF)" >&2; exit 1; }
rounds="${1:-21}"
cmake --build "${root}/build" --target tarvo >/dev/null
baseline="${PERF_BUILD:-/tmp/tarvo-perf}/qt_baseline"
"${kit}/pair.sh" -n "${rounds}" qt_baseline "${baseline}" tarvo "${root}/build/app/tarvo"
if [[ -n "${2:-}" ]]; then
  echo
  "${kit}/pair.sh" -n "${rounds}" qt_baseline "${baseline}" other "$2"
fi
