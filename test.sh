#!/usr/bin/env bash
# Sets up what the build and the tests need, builds and runs every test; exits non-zero on any
# failure.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh --tests
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTARVO_BUILD_TESTS=ON -DTARVO_BUILD_BENCH=ON >/dev/null
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --timeout 600
