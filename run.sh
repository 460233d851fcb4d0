#!/usr/bin/env bash
# Sets up what is missing, builds in Release and starts Tarvo.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target tarvo
exec build/app/tarvo "$@"
