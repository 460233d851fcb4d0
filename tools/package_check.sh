#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian (no error, no warning), installs it on this
# machine, starts the installed program once (offscreen, with a private settings folder), ends
# it as a session would and removes the package again. Needs root or sudo.
# Usage: tools/package_check.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${root}/build-pkg}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"

if dpkg-query -W -f='${Status}' tarvo 2>/dev/null | grep -q 'install ok installed'; then
  echo "tarvo is installed already; remove it first" >&2
  exit 1
fi
"${root}/tools/setup.sh"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  dpkg-dev lintian man-db desktop-file-utils >/dev/null

cmake -S "${root}" -B "${build}" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTARVO_BUILD_TESTS=OFF -DTARVO_BUILD_BENCH=OFF >/dev/null
cmake --build "${build}" --target tarvo tarvo-zins
(cd "${build}" && cpack -G DEB >/dev/null)
deb="$(ls "${build}"/tarvo_*.deb)"
echo "package: ${deb}"
# Errors and warnings fail the check; the informational tags are shown.
lintian --display-info --tag-display-limit 0 "${deb}" | tee "${build}/lintian.txt"
if grep -qE '^[EW]: ' "${build}/lintian.txt"; then echo "lintian reports errors or warnings" >&2; exit 1; fi

home="$(mktemp -d)"
cleanup() {
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tarvo >/dev/null 2>&1 || true
  rm -rf "${home}"
}
trap cleanup EXIT

$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${deb}" >/dev/null
for f in /usr/bin/tarvo /usr/bin/tarvo-zins /usr/share/applications/tarvo.desktop \
  /usr/share/man/man1/tarvo.1.gz /usr/share/man/man1/tarvo-zins.1.gz \
  /usr/share/bash-completion/completions/tarvo-zins \
  /usr/share/doc/tarvo/copyright /usr/share/doc/tarvo/changelog.gz \
  "/usr/lib/$(gcc -print-multiarch)/tarvo/tarvo-print.so" \
  "/usr/lib/$(gcc -print-multiarch)/tarvo/tarvo-download.so" \
  /usr/share/icons/hicolor/{16x16,32x32,48x48}/apps/tarvo.png \
  /usr/share/icons/hicolor/scalable/apps/tarvo.svg; do
  [[ -e "$f" ]] || { echo "missing after install: $f" >&2; exit 1; }
done
desktop-file-validate /usr/share/applications/tarvo.desktop
# The manual pages as man reads them, with their warnings.
for page in tarvo tarvo-zins; do
  warnings="$(MANWIDTH=80 man --warnings -l "/usr/share/man/man1/${page}.1.gz" 2>&1 >/dev/null)"
  [[ -z "${warnings}" ]] || { echo "${page}: ${warnings}" >&2; exit 1; }
done
[[ "$(tarvo --version)" == "Tarvo 2.3" ]] || { echo "tarvo --version" >&2; exit 1; }
[[ "$(tarvo-zins zinsen 1000 15.01.2005 15.03.2005 10 --formel deutsche)" == "( 59 / 60 Tage )  16,67" ]] ||
  { echo "tarvo-zins zinsen" >&2; exit 1; }
echo "installed: $(dpkg-query -W -f='${Package} ${Version}' tarvo)"

mkdir -p "${home}/config" "${home}/runtime"
chmod 700 "${home}/runtime"
XDG_CONFIG_HOME="${home}/config" XDG_RUNTIME_DIR="${home}/runtime" QT_QPA_PLATFORM=offscreen \
  QT_LOGGING_RULES="platform.window.debug=true" tarvo 2>"${home}/trace" &
pid=$!
for _ in $(seq 100); do
  grep -q 'window shown: TForm1' "${home}/trace" && break
  sleep 0.1
done
grep -q 'window shown: TForm1' "${home}/trace" || { cat "${home}/trace" >&2; echo "no window" >&2; exit 1; }
kill -TERM "${pid}"
wait "${pid}" || { echo "tarvo ended with $?" >&2; exit 1; }
[[ -s "${home}/config/tarvo/registry.db" ]] || { echo "no settings written" >&2; exit 1; }
echo "started: the bar was shown, and SIGTERM ended it with its settings written"

$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tarvo >/dev/null
[[ ! -e /usr/bin/tarvo && ! -e /usr/bin/tarvo-zins && ! -e /usr/share/applications/tarvo.desktop ]] || {
  echo "files left after removal" >&2; exit 1; }
echo "removed: no files left"
