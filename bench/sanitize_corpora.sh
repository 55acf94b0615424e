#!/usr/bin/env bash
# Runs the fullest lqa switch set over the whole Linux tree and the JDK Java
# sources in the AddressSanitizer/UndefinedBehaviorSanitizer build and fails
# on the first sanitizer report. Uses the corpora that bench/bench.sh full
# prepares under $LQA_BENCH_DIR (default /var/tmp/lqa-bench).
#
#   bench/sanitize_corpora.sh
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${LQA_BENCH_DIR:-/var/tmp/lqa-bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fullest=(-s -v -c -fa -fd -o -n -m -a -l)

cmake -S "$here" -B "$here/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLQA_SANITIZE=ON > /dev/null
cmake --build "$here/build-asan" --target lqa -j "$(nproc)"
export LQAHOME="$work/home"
mkdir -p "$LQAHOME"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
for corpus in linux-source-6.1:'*.[ch]' jdk:'*.java'; do
  dir="$cache/${corpus%%:*}"
  pattern=${corpus#*:}
  [ -d "$dir" ] || { echo "missing $dir: run bench/bench.sh full first" >&2; status=1; continue; }
  find "$dir" -type f -name "$pattern" | LC_ALL=C sort > "$work/files"
  echo "$(wc -l < "$work/files") files of $dir ..."
  # With -n the exit status is the notice count, so success is judged by a
  # clean standard error and a report that reached its closing line.
  "$here/build-asan/lqa" "${fullest[@]}" -F "$work/files" > "$work/out" 2> "$work/err" || true
  if ! grep -qE "ERROR: AddressSanitizer|runtime error:|LeakSanitizer" "$work/err" &&
     tail -c 300 "$work/out" | grep -q "________"; then
    echo "  clean"
  else
    echo "  sanitizer report or failure:" >&2
    head -40 "$work/err" >&2
    status=1
  fi
done
exit $status
