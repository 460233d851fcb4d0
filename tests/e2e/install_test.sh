#!/usr/bin/env bash
# cmake --install into a scratch prefix: the program, a menu entry the desktop accepts, and
# the icon in every size. Usage: install_test.sh <build folder>
set -euo pipefail
prefix="$(mktemp -d)"
trap 'rm -rf "${prefix}"' EXIT
cmake --install "$1" --prefix "${prefix}" >/dev/null
for f in bin/tarvo share/applications/tarvo.desktop \
  share/icons/hicolor/{16x16,32x32,48x48}/apps/tarvo.png share/icons/hicolor/scalable/apps/tarvo.svg \
  share/man/man1/tarvo.1.gz share/doc/tarvo/copyright share/doc/tarvo/changelog.gz \
  lib/tarvo/tarvo-print.so; do
  [[ -e "${prefix}/${f}" ]] || { echo "not installed: ${f}" >&2; exit 1; }
done
entry="${prefix}/share/applications/tarvo.desktop"
out="$(desktop-file-validate "${entry}" 2>&1)"
[[ -z "${out}" ]] || { echo "${out}" >&2; exit 1; }
grep -qx 'Categories=Office;Finance;' "${entry}"
grep -qx 'Exec=tarvo' "${entry}"
grep -qx 'Icon=tarvo' "${entry}"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 32 48; do
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "${prefix}/share/icons/hicolor/${size}x${size}/apps/tarvo.png")
  [[ "${w}x${h}" == "${size}x${size}" ]] || { echo "icon ${size}: ${w}x${h}" >&2; exit 1; }
done
