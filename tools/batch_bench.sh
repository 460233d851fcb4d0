#!/usr/bin/env bash
# tarvo-zins on large batches beside the floor (build/bench/batch_floor: a program that only
# reads, splits and parses the same CSV and writes as many fixed bytes as tarvo-zins answers),
# the whole process each time, standard output to /dev/null, the two started alternately.
#
#   tools/batch_bench.sh [rounds] [another tarvo-zins]
#
# Per format (text, csv, json): 1,000,000 zinsen rows and 100,000 ten-year verzug rows; the
# median wall time of each, their ratio and the peak resident memory, with the load average
# before each line (other work on the machine slows the figures). Then the peak memory of
# tarvo-zins on a single field of 100 MB. Needs the benchmarks built (build/bench) and GNU time
# (/usr/bin/time, Debian's package "time").
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rounds="${1:-7}"
zins="${2:-${root}/build/cli/tarvo-zins}"
floor="${root}/build/bench/batch_floor"
rows="${root}/build/bench/batch_rows"
for program in "${zins}" "${floor}" "${rows}"; do
  [[ -x "${program}" ]] || { echo "missing ${program}: build the benchmarks first" >&2; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "${work}"' EXIT
# Settings and data folders of their own: no user's settings or rates enter the figures.
export XDG_CONFIG_HOME="${work}/config" XDG_DATA_HOME="${work}/data" LC_ALL=C.UTF-8
"${rows}" zinsen 1000000 >"${work}/zinsen.csv"
"${rows}" verzug 100000 >"${work}/verzug.csv"
load() { cut -d' ' -f1-3 /proc/loadavg; }

# One run: "seconds peak_kib" of the command, its output to /dev/null.
measure() {
  local input=$1 start end
  shift
  start=${EPOCHREALTIME}
  /usr/bin/time -f %M -o "${work}/rss" "$@" <"${input}" >/dev/null 2>"${work}/stderr" ||
    { echo "failed: $*" >&2; cat "${work}/stderr" >&2; exit 1; }
  end=${EPOCHREALTIME}
  echo "$(awk -v a="${start}" -v b="${end}" 'BEGIN{printf "%.4f", b - a}') $(tail -1 "${work}/rss")"
}
median() { sort -g | awk '{v[NR]=$1} END{print (NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2}'; }

printf "%-8s %-5s %-15s %9s %9s %7s %9s %9s\n" command format "load average" \
  zins_s floor_s ratio zins_MiB floor_MiB
for command in zinsen verzug; do
  input="${work}/${command}.csv"
  count=$(($(wc -l <"${input}") - 1))
  for format in text csv json; do
    bytes=$("${zins}" "${command}" --csv - --format "${format}" <"${input}" | wc -c)
    average=$(load)
    : >"${work}/z" && : >"${work}/f"
    for ((r = 0; r < rounds; r++)); do
      if ((r % 2)); then
        measure "${input}" "${floor}" "${command}" "${bytes}" "${count}" >>"${work}/f"
        measure "${input}" "${zins}" "${command}" --csv - --format "${format}" >>"${work}/z"
      else
        measure "${input}" "${zins}" "${command}" --csv - --format "${format}" >>"${work}/z"
        measure "${input}" "${floor}" "${command}" "${bytes}" "${count}" >>"${work}/f"
      fi
    done
    zs=$(cut -d' ' -f1 "${work}/z" | median)
    fs=$(cut -d' ' -f1 "${work}/f" | median)
    zm=$(cut -d' ' -f2 "${work}/z" | sort -g | tail -1)
    fm=$(cut -d' ' -f2 "${work}/f" | sort -g | tail -1)
    LC_ALL=C awk -v c="${command}" -v f="${format}" -v l="${average}" -v zs="${zs}" \
      -v fs="${fs}" -v zm="${zm}" -v fm="${fm}" \
      'BEGIN{printf "%-8s %-5s %-15s %9.3f %9.3f %6.2fx %9.1f %9.1f\n", c, f, l, zs, fs, zs / fs,
             zm / 1024, fm / 1024}'
  done
done

# A single field of 100 MB without a line break: one faulty row, and no more memory than any.
{ echo "betrag;von;bis;satz"; head -c 100000000 /dev/zero | tr '\0' '1'; } >"${work}/long.csv"
for format in text csv json; do
  /usr/bin/time -f %M -o "${work}/rss" "${zins}" zinsen --csv - --format "${format}" \
    <"${work}/long.csv" >/dev/null 2>&1 || true
  LC_ALL=C awk -v f="${format}" -v k="$(tail -1 "${work}/rss")" \
    'BEGIN{printf "100 MB field, %-4s peak %7.1f MiB\n", f, k / 1024}'
done
echo "load average after: $(load)"
