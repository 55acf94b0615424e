#!/usr/bin/env bash
# Runs two lqa binaries over the same corpora and switch sets and checks that
# they write the same bytes: standard output (apart from the header's run and
# build dates), standard error and the exit status.
#
#   bench/compare_outputs.sh OLD_LQA NEW_LQA [corpus ...]
#
# Corpora: linux-fs (default), linux, jdk, csharp, edge (awkward files written
# by bench/edge_corpus.py), or a file listing paths. Each
# switch set runs on every corpus; the script prints one line per pair and
# exits 1 when any pair differs (the first lines of the difference are kept
# in $LQA_COMPARE_KEEP, default /tmp/lqa-compare). LQA_COMPARE_CFG names an
# lqa.cfg both builds read (for example one naming user defined notices);
# without it they read none. LQA_COMPARE_SETS replaces the switch sets.
set -uo pipefail
[ $# -ge 2 ] || { echo "usage: $0 OLD_LQA NEW_LQA [linux-fs|linux|jdk|csharp|edge|LISTFILE ...]" >&2; exit 2; }
old=$(realpath "$1")
new=$(realpath "$2")
shift 2
corpora=("$@")
[ ${#corpora[@]} -gt 0 ] || corpora=(linux-fs)
cache=${LQA_BENCH_DIR:-/var/tmp/lqa-bench}
keep=${LQA_COMPARE_KEEP:-/tmp/lqa-compare}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$keep" "$work/home"
export LQAHOME="$work/home"
[ -z "${LQA_COMPARE_CFG:-}" ] || cp "$LQA_COMPARE_CFG" "$work/home/lqa.cfg"
# A first run writes the configuration files it does not find, which only the
# runs after it read: one run on no file first, so that both builds read them.
: > "$work/none.files"
"$old" -F "$work/none.files" > /dev/null 2>&1

sets=(
  ""
  "-s"
  "-s -v -c -fa -fd -o -n -m -a -i -e -fp"
  "-n -Tn"
  "-X -Ta"
  "-C -fa"
  "-H -s"
  "-c -fa"
  "-o -i -m -H"
  "-xSARIF"
  "-xGITLAB -s"
)
# LQA_COMPARE_SETS: other switch sets, separated by '|' ("" is the default run).
if [ -n "${LQA_COMPARE_SETS+x}" ]; then
  IFS='|' read -r -a sets <<< "$LQA_COMPARE_SETS"
  [ ${#sets[@]} -gt 0 ] || sets=("")
fi

list_for() {  # corpus -> file list path
  local out="$work/$(basename "$1").files"
  case $1 in
    linux-fs) find "$cache/linux-source-6.1/fs" -type f \( -name '*.c' -o -name '*.h' \) ;;
    linux) find "$cache/linux-source-6.1" -type f \( -name '*.c' -o -name '*.h' \) ;;
    jdk) find "$cache/jdk" -type f -name '*.java' ;;
    csharp) find "$cache/csharp" -type f -name '*.cs' ;;
    edge)
      python3 "$(dirname "$0")/edge_corpus.py" "$work/edge"
      find "$work/edge" -type f ;;
    *) cat "$1" ;;
  esac | LC_ALL=C sort > "$out"
  echo "$out"
}

# The output without the header lines that hold the date of the run or of
# the build (short lines among the first 15); the rest is copied in blocks,
# however long its lines (a SARIF log is one line of hundreds of MB).
undated() {
  python3 - "$1" 2> /dev/null << 'PY'
import re, sys
dated = re.compile(rb"Build Date|Run Date|^Date Processed,|<date>")
out = sys.stdout.buffer
with open(sys.argv[1], "rb") as f:
    for _ in range(15):
        line = f.readline(4096)
        if not line:
            break
        if not (line.endswith(b"\n") and dated.search(line)):
            out.write(line)
        if not line.endswith(b"\n"):
            break
    while block := f.read(1 << 20):
        out.write(block)
PY
}

status=0
for corpus in "${corpora[@]}"; do
  files=$(list_for "$corpus")
  for set in "${sets[@]}"; do
    label="$(basename "$corpus") [${set:-default}]"
    # shellcheck disable=SC2086
    "$old" $set -F "$files" > "$work/old.out" 2> "$work/old.err"
    echo $? > "$work/old.rc"
    # shellcheck disable=SC2086
    "$new" $set -F "$files" > "$work/new.out" 2> "$work/new.err"
    echo $? > "$work/new.rc"
    if cmp -s <(undated "$work/old.out") <(undated "$work/new.out") && cmp -s "$work/old.err" "$work/new.err" &&
      cmp -s "$work/old.rc" "$work/new.rc"; then
      printf 'same       %s (%s bytes)\n' "$label" "$(wc -c < "$work/new.out")"
    else
      status=1
      tag=$(echo "$label" | tr -c 'A-Za-z0-9.-' '_')
      { diff <(undated "$work/old.out") <(undated "$work/new.out") | head -40
        diff "$work/old.err" "$work/new.err" | head -10
        diff "$work/old.rc" "$work/new.rc"; } > "$keep/$tag.diff"
      printf 'DIFFERENT  %s (see %s)\n' "$label" "$keep/$tag.diff"
    fi
  done
done
exit $status
