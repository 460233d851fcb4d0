#!/usr/bin/env bash
# Sets up what building and running need, builds Tarvo (and tarvo-zins) in Release and starts
# Tarvo.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTARVO_BUILD_TESTS=OFF -DTARVO_BUILD_BENCH=OFF >/dev/null
cmake --build build --target tarvo tarvo-zins
exec build/app/tarvo "$@"
