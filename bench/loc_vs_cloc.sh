#!/usr/bin/env bash
# Times a default lqa run (-s) against cloc on the same .c and .h files of a
# tree, side by side in one run, and prints the median times and their ratio.
#
#   bench/loc_vs_cloc.sh [tree] [runs]
#
# Without a tree it unpacks fs/ of the Linux sources that the Debian package
# linux-source-6.1 installs (apt-get install linux-source-6.1 cloc).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
lqa="$here/build/lqa"
runs=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tree=${1:-}
if [ -z "$tree" ]; then
  tarball=/usr/src/linux-source-6.1.tar.xz
  [ -f "$tarball" ] || { echo "needs $tarball (apt-get install linux-source-6.1)" >&2; exit 1; }
  tar -xJf "$tarball" -C "$work" linux-source-6.1/fs
  tree="$work/linux-source-6.1/fs"
fi
command -v cloc >/dev/null || { echo "needs cloc (apt-get install cloc)" >&2; exit 1; }
[ -x "$lqa" ] || { echo "build lqa first: cmake --build build" >&2; exit 1; }

find "$tree" -type f \( -name '*.c' -o -name '*.h' \) | sort > "$work/files"
files=$(wc -l < "$work/files")
bytes=$(xargs -a "$work/files" -d '\n' cat | wc -c)
lines=$(xargs -a "$work/files" -d '\n' cat | wc -l)
export LQAHOME="$work/home"
mkdir -p "$LQAHOME"

# Median wall time in seconds of a command, over $runs runs.
median() {
  local times=()
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" > /dev/null 2>&1
    t1=$(date +%s.%N)
    times+=("$(echo "$t1 - $t0" | bc -l)")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

mapfile -t list < "$work/files"
lqa_s=$(median "$lqa" -s "${list[@]}")
cloc_s=$(median cloc --quiet --list-file="$work/files")
wc_s=$(median xargs -a "$work/files" -d '\n' wc -l)

printf 'files %d, %d lines, %.1f MB\n' "$files" "$lines" "$(echo "$bytes / 1048576" | bc -l)"
printf '%-8s %9s %10s %14s\n' tool seconds MB/s lines/s
for row in "lqa:$lqa_s" "cloc:$cloc_s" "wc-l:$wc_s"; do
  name=${row%%:*}; s=${row#*:}
  printf '%-8s %9.3f %10.1f %14.0f\n' "$name" "$s" "$(echo "$bytes / 1048576 / $s" | bc -l)" \
    "$(echo "$lines / $s" | bc -l)"
done
printf 'cloc / lqa = %.1f\n' "$(echo "$cloc_s / $lqa_s" | bc -l)"
