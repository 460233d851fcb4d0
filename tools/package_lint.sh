#!/usr/bin/env bash
# Builds the Debian package from a built build folder with cpack and checks it with lintian:
# an error or a warning fails; the informational tags are listed with the rest.
# Usage: tools/package_lint.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-${root}/build}" && pwd)"
out="$(mktemp -d)"
trap 'rm -rf "${out}"' EXIT
cpack -G DEB --config "${build}/CPackConfig.cmake" -B "${out}" >"${out}/cpack.txt" ||
  { cat "${out}/cpack.txt" >&2; exit 1; }
deb="$(ls "${out}"/tarvo_*.deb)"
echo "package: $(basename "${deb}")"
lintian --display-info --tag-display-limit 0 "${deb}" >"${out}/lintian.txt" 2>&1 || true
cat "${out}/lintian.txt"
if grep -qE '^[EW]: ' "${out}/lintian.txt"; then
  echo "lintian reports errors or warnings" >&2
  exit 1
fi
echo "lintian: no errors, no warnings"
