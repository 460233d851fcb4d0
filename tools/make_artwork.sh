#!/usr/bin/env bash
# Rebuilds the artwork generator and redraws the program's pictures into app/artwork.
# A developer tool: the pictures are committed, the build does not run this.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${root}/build-artwork"
cmake -S "${root}/tools/artwork" -B "${build}" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "${build}"
QT_QPA_PLATFORM=offscreen "${build}/tarvo_artwork" "${root}/app/artwork"
