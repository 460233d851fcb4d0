#!/usr/bin/env bash
# cmake --install into a scratch prefix: the programs, a menu entry the desktop accepts, the
# icon in every size, the case files' type, the software centres' description, the manual pages
# and the command line's completion.
# Usage: install_test.sh <build folder> <the print module's folder below the prefix>
set -euo pipefail
prefix="$(mktemp -d)"
trap 'rm -rf "${prefix}"' EXIT
cmake --install "$1" --prefix "${prefix}" >/dev/null
for f in bin/tarvo bin/tarvo-zins share/applications/tarvo.desktop \
  share/icons/hicolor/{16x16,32x32,48x48}/apps/tarvo.png share/icons/hicolor/scalable/apps/tarvo.svg \
  share/man/man1/tarvo.1.gz share/man/man1/tarvo-zins.1.gz \
  share/bash-completion/completions/tarvo-zins share/mime/packages/tarvo.xml \
  share/metainfo/example.mrv.tarvo.metainfo.xml \
  share/doc/tarvo/copyright share/doc/tarvo/changelog.gz "$2/tarvo-print.so" \
  "$2/tarvo-download.so"; do
  [[ -e "${prefix}/${f}" ]] || { echo "not installed: ${f}" >&2; exit 1; }
done
entry="${prefix}/share/applications/tarvo.desktop"
out="$(desktop-file-validate "${entry}" 2>&1)"
[[ -z "${out}" ]] || { echo "${out}" >&2; exit 1; }
grep -qx 'Categories=Office;Finance;' "${entry}"
grep -qx 'Exec=tarvo %f' "${entry}"
grep -qx 'MimeType=application/x-tarvo-forderung;' "${entry}"
appstreamcli validate --no-net "${prefix}/share/metainfo/example.mrv.tarvo.metainfo.xml" >/dev/null
# The desktop's type database takes the file and tells a case file by its name and its content.
XDG_DATA_DIRS="${prefix}/share" update-mime-database "${prefix}/share/mime"
printf '{\n  "format": "tarvo-forderung",\n  "version": 1\n}\n' >"${prefix}/fall.tarvo"
cp "${prefix}/fall.tarvo" "${prefix}/fall.json"
for file in fall.tarvo fall.json; do
  type="$(XDG_DATA_DIRS="${prefix}/share" gio info -a standard::content-type "${prefix}/${file}" |
    sed -n 's/ *standard::content-type: //p')"
  [[ "${type}" == application/x-tarvo-forderung ]] || { echo "${file}: ${type}" >&2; exit 1; }
done
grep -qx 'Icon=tarvo' "${entry}"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 32 48; do
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "${prefix}/share/icons/hicolor/${size}x${size}/apps/tarvo.png")
  [[ "${w}x${h}" == "${size}x${size}" ]] || { echo "icon ${size}: ${w}x${h}" >&2; exit 1; }
done
# The installed command line runs on its own, and its completion offers the commands.
[[ "$("${prefix}/bin/tarvo-zins" --version)" == "tarvo-zins (Tarvo 2.3)" ]] || {
  echo "tarvo-zins --version" >&2; exit 1; }
words="$(bash -c 'source "$1"; COMP_WORDS=(tarvo-zins ""); COMP_CWORD=1; _tarvo_zins
  echo "${COMPREPLY[*]}"' _ "${prefix}/share/bash-completion/completions/tarvo-zins")"
[[ "${words}" == "zinsen verzug basiszins forderung --help --version" ]] || {
  echo "completion: ${words}" >&2; exit 1; }
gzip -t "${prefix}/share/man/man1/tarvo-zins.1.gz"
# The installed command line finds its download module: it refuses a plain http address itself.
out="$(TARVO_BASISZINS_URL=http://127.0.0.1:9/ XDG_DATA_HOME="${prefix}/data" \
  "${prefix}/bin/tarvo-zins" basiszins --aktualisieren 2>&1)" && exit 1
[[ "${out}" == *"nur Adressen mit https:// werden abgerufen"* ]] || {
  echo "tarvo-zins --aktualisieren: ${out}" >&2; exit 1; }
