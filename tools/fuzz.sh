#!/usr/bin/env bash
# Builds the decoder fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) and runs
# each for the given number of seconds (default 60), seeded with the program's artwork.
# Findings land in build-fuzz/findings/<kind>/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${root}/build-fuzz"
seconds="${1:-60}"
"${root}/tools/setup.sh" --tests
CXX=clang++ cmake -S "${root}/tools/fuzz" -B "${build}" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "${build}"
for kind in bmp gif jpeg; do
  corpus="${build}/corpus/${kind}"
  findings="${build}/findings/${kind}"
  mkdir -p "${corpus}" "${findings}"
  case ${kind} in
    bmp) cp "${root}"/app/artwork/*.bmp "${corpus}/" ;;
    gif) cp "${root}"/app/artwork/*.gif "${corpus}/" ;;
    jpeg) cp "${root}"/app/artwork/*.jpg "${corpus}/" ;;
  esac
  echo "== ${kind}"
  "${build}/fuzz_${kind}" "${corpus}" -max_total_time="${seconds}" -max_len=16384 \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="${findings}/" -print_final_stats=1 -report_slow_units=2 \
    2>&1 | grep -E '^(Done |#[0-9]+ +DONE|==[0-9]+==|SUMMARY|stat::number_of_executed_units|stat::peak_rss_mb|Slowest unit|artifact_prefix|Test unit written)' || true
done
