#!/usr/bin/env bash
# Times lqa side by side with its peers on the same files and prints, per
# corpus, the median wall time, MB/s, lines/s, peak resident memory and the
# ratio of each tool's time to the default lqa run.
#
#   bench/bench.sh [quick|full] [runs]
#
#   quick (default)  the fs/ subtree of the Linux sources, and the
#                    differential of two baselines of it
#   full             fs/, the whole Linux tree, the JDK Java sources, the Boost
#                    headers and a generated C# tree
#   workdiff         only the differential of two baselines of fs/
#   notices          only the SARIF log and GitLab report of fs/ beside -n -fa -o
#   gate             only the quality gate on a git repository of fs/ with a
#                    change of a few files (-G"git:HEAD~1") beside -n -fa,
#                    with the default notices and with the tab notice off
#
# Corpora are prepared once under $LQA_BENCH_DIR (default /var/tmp/lqa-bench)
# from Debian packages: linux-source-6.1, openjdk-17-source, libboost1.81-dev.
# Peers: cloc, sloccount, pmccabe (C and C++ only), wc -l. Install them with
#   apt-get install linux-source-6.1 openjdk-17-source libboost1.81-dev cloc sloccount pmccabe time
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
lqa="$here/build/lqa"
mode=${1:-quick}
runs=${2:-3}
cache=${LQA_BENCH_DIR:-/var/tmp/lqa-bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# lqa switch sets. The fullest set grows as analyses are added.
lqa_default=(-s)
lqa_functions=(-c -fa)
lqa_notices=(-s -n)
lqa_fullest=(-s -v -c -fa -fd -o -n -m -a -l)
# Every report at once (-l would switch the project reports off), and the
# two data exports over the whole file set.
lqa_reports=(-s -v -c -fa -fd -o -i -n -m -a -e -fp -k2)
lqa_csv=(-C -fa -fp)
lqa_xml=(-X -Ta -Td -v -fp)

[ -x "$lqa" ] || { echo "build lqa first: cmake --build build" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs GNU time (apt-get install time)" >&2; exit 1; }
export LQAHOME="$work/home"
mkdir -p "$LQAHOME" "$cache"
# A home whose lqa.cfg names the benchmark's user defined notice rules.
udqn_home="$work/udqn-home"
mkdir -p "$udqn_home"
printf 'LQA user defined quality notice file : %s\n' "$here/bench/udqn_rules.cfg" > "$udqn_home/lqa.cfg"

have() { command -v "$1" > /dev/null; }

prepare_linux() {
  local tarball=/usr/src/linux-source-6.1.tar.xz
  [ -d "$cache/linux-source-6.1" ] && [ -f "$cache/linux-source-6.1/.complete" ] && return 0
  [ -f "$tarball" ] || { echo "needs $tarball (apt-get install linux-source-6.1)" >&2; return 1; }
  echo "unpacking the Linux sources into $cache ..." >&2
  tar -xJf "$tarball" -C "$cache"
  touch "$cache/linux-source-6.1/.complete"
}

prepare_jdk() {
  local zip
  zip=$(ls /usr/lib/jvm/*17*/lib/src.zip 2> /dev/null | head -1 || true)
  [ -f "$cache/jdk/.complete" ] && return 0
  [ -n "$zip" ] || { echo "needs the JDK sources (apt-get install openjdk-17-source)" >&2; return 1; }
  echo "unpacking $zip into $cache/jdk ..." >&2
  mkdir -p "$cache/jdk"
  unzip -q -o "$zip" -d "$cache/jdk"
  touch "$cache/jdk/.complete"
}

prepare_csharp() {
  [ -f "$cache/csharp/.complete" ] && return 0
  echo "generating C# sources into $cache/csharp ..." >&2
  python3 "$here/bench/gen_csharp.py" "$cache/csharp" 4000
  touch "$cache/csharp/.complete"
}

# corpus name -> directory and file name patterns
corpus_dir() {
  case $1 in
    linux-fs) echo "$cache/linux-source-6.1/fs" ;;
    linux) echo "$cache/linux-source-6.1" ;;
    jdk) echo "$cache/jdk" ;;
    boost) echo /usr/include/boost ;;
    csharp) echo "$cache/csharp" ;;
  esac
}
corpus_patterns() {
  case $1 in
    linux-fs | linux) echo '*.c *.h' ;;
    jdk) echo '*.java' ;;
    boost) echo '*.hpp *.h' ;;
    csharp) echo '*.cs' ;;
  esac
}

# Runs lqa with -O (so that it shows its progress) $runs times and prints
# "median_total_seconds median_report_seconds": the report phase runs from
# the "Post Processing" progress line to the end of the process.
measure_reports() {
  local totals=() phases=()
  for _ in $(seq "$runs"); do
    read -r t p < <(python3 - "$@" <<'PY'
import subprocess, sys, time
start = time.monotonic()
proc = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
mark = None
for line in proc.stderr:
    if b"Post Processing" in line:
        mark = time.monotonic()
proc.wait()
end = time.monotonic()
print(f"{end - start:.3f} {end - (mark or end):.3f}")
PY
)
    totals+=("$t")
    phases+=("$p")
  done
  local med='{a[NR]=$1} END {print a[int((NR+1)/2)]}'
  printf '%s %s\n' "$(printf '%s\n' "${totals[@]}" | sort -n | awk "$med")" \
    "$(printf '%s\n' "${phases[@]}" | sort -n | awk "$med")"
}

# Runs a command $runs times; prints "median_seconds peak_kb".
measure() {
  local times=() peak=0
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" > /dev/null 2>&1 || true
    read -r s kb < <(tail -1 "$work/time")
    times+=("$s")
    [ "$kb" -gt "$peak" ] && peak=$kb
  done
  printf '%s %s\n' "$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')" "$peak"
}

# Times -Dt on a fresh copy of the files in every run (a run leaves no tabs
# behind for the next); prints "median_seconds peak_kb".
measure_rewrite() {
  local times=() peak=0
  sed "s|^|$work/copy|" "$work/files" > "$work/copyfiles"
  for _ in $(seq "$runs"); do
    rm -rf "$work/copy"
    mkdir -p "$work/copy"
    xargs -a "$work/files" -d '\n' cp --parents -t "$work/copy"
    sync  # the copy's own writes are not timed
    /usr/bin/time -f '%e %M' -o "$work/time" "$lqa" -Dt -F "$work/copyfiles" > /dev/null 2>&1 || true
    read -r s kb < <(tail -1 "$work/time")
    times+=("$s")
    [ "$kb" -gt "$peak" ] && peak=$kb
  done
  rm -rf "$work/copy"
  printf '%s %s\n' "$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')" "$peak"
}

# Times two commands in turn, $runs times each, A B A B ...: on a shared
# machine both see the same load. Prints "wallA cpuA wallB cpuB" (medians;
# cpu = user + system seconds).
measure_pair() {
  local sep=$1 a=() b=() wa=() ca=() wb=() cb=() s u y
  shift
  while [ "$1" != "$sep" ]; do a+=("$1"); shift; done
  shift
  b=("$@")
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %U %S' -o "$work/time" "${a[@]}" > /dev/null 2>&1 || true
    read -r s u y < <(tail -1 "$work/time")
    wa+=("$s"); ca+=("$(echo "$u + $y" | bc -l)")
    /usr/bin/time -f '%e %U %S' -o "$work/time" "${b[@]}" > /dev/null 2>&1 || true
    read -r s u y < <(tail -1 "$work/time")
    wb+=("$s"); cb+=("$(echo "$u + $y" | bc -l)")
  done
  local med='{a[NR]=$1} END {print a[int((NR+1)/2)]}'
  printf '%s %s %s %s\n' "$(printf '%s\n' "${wa[@]}" | sort -n | awk "$med")" \
    "$(printf '%s\n' "${ca[@]}" | sort -n | awk "$med")" "$(printf '%s\n' "${wb[@]}" | sort -n | awk "$med")" \
    "$(printf '%s\n' "${cb[@]}" | sort -n | awk "$med")"
}

row() {  # name seconds peak_kb base_seconds bytes lines
  local name=$1 s=$2 kb=$3 base=$4 bytes=$5 lines=$6
  awk -v n="$name" -v s="$s" -v kb="$kb" -v b="$base" -v by="$bytes" -v l="$lines" 'BEGIN {
    if (s <= 0) s = 0.005
    printf "  %-14s %9.2f %9.1f %13.0f %9.1f %9.2f\n", n, s, by / 1048576 / s, l / s, kb / 1024, s / b }'
}

# The SARIF log and the GitLab report beside the report should cost at most
# 0.3 times the run with the same analyses (-n -fa -o); the documents go to
# files, the report to /dev/null in both runs. Uses $work/files.
bench_notice_documents() {
  local wa ca wb cb size
  read -r wa ca wb cb < <(measure_pair -- "$lqa" -n -fa -o -F "$work/files" -- \
    "$lqa" "-xSARIF $work/notices.sarif" "-xGITLAB $work/notices.json" -F "$work/files")
  size=$(( $(stat -c %s "$work/notices.sarif") + $(stat -c %s "$work/notices.json") ))
  awk -v wa="$wa" -v ca="$ca" -v wb="$wb" -v cb="$cb" -v sz="$size" 'BEGIN {
    if (wa <= 0) wa = 0.005; if (ca <= 0) ca = 0.005
    printf "  %-16s %7.2f s wall %6.2f s cpu\n", "lqa -n -fa -o", wa, ca
    printf "  %-16s %7.2f s wall %6.2f s cpu  (%.2f and %.2f times; documents %.0f MB)\n", "+ SARIF, GitLab", wb, cb,
      wb / wa, cb / ca, sz / 1048576 }'
  rm -f "$work/notices.sarif" "$work/notices.json"
}

bench_corpus() {
  local name=$1 dir pats files bytes lines
  dir=$(corpus_dir "$name")
  [ -d "$dir" ] || { echo "skipping $name: $dir missing" >&2; return 0; }
  pats=$(corpus_patterns "$name")
  local find_args=() first=1
  for p in $pats; do
    [ $first -eq 1 ] || find_args+=(-o)
    find_args+=(-name "$p")
    first=0
  done
  find "$dir" -type f \( "${find_args[@]}" \) | LC_ALL=C sort > "$work/files"
  files=$(wc -l < "$work/files")
  bytes=$(xargs -a "$work/files" -d '\n' cat | wc -c)
  lines=$(xargs -a "$work/files" -d '\n' cat | wc -l)

  printf '\n%s: %d files, %d lines, %.1f MB (%s)\n' "$name" "$files" "$lines" "$(echo "$bytes / 1048576" | bc -l)" "$dir"
  printf '  %-14s %9s %9s %13s %9s %9s\n' tool seconds MB/s lines/s "peak MB" "/lqa -s"
  local base kb s
  read -r base kb < <(measure "$lqa" "${lqa_default[@]}" -F "$work/files")
  row "lqa ${lqa_default[*]}" "$base" "$kb" "$base" "$bytes" "$lines"
  read -r s kb < <(measure "$lqa" "${lqa_functions[@]}" -F "$work/files")
  row "lqa ${lqa_functions[*]}" "$s" "$kb" "$base" "$bytes" "$lines"
  read -r s kb < <(measure "$lqa" "${lqa_notices[@]}" -F "$work/files")
  row "lqa ${lqa_notices[*]}" "$s" "$kb" "$base" "$bytes" "$lines"
  read -r s kb < <(measure "$lqa" "${lqa_fullest[@]}" -F "$work/files")
  row "lqa fullest" "$s" "$kb" "$base" "$bytes" "$lines"
  read -r s kb < <(measure "$lqa" "${lqa_reports[@]}" -F "$work/files")
  row "lqa reports" "$s" "$kb" "$base" "$bytes" "$lines"
  read -r s kb < <(measure "$lqa" "${lqa_csv[@]}" -F "$work/files")
  row "lqa ${lqa_csv[*]}" "$s" "$kb" "$base" "$bytes" "$lines"
  read -r s kb < <(measure "$lqa" "${lqa_xml[@]}" -F "$work/files")
  row "lqa ${lqa_xml[*]}" "$s" "$kb" "$base" "$bytes" "$lines"
  local total phase
  read -r total phase < <(measure_reports "$lqa" "${lqa_reports[@]}" -O "$work/report.txt" -F "$work/files")
  awk -v t="$total" -v p="$phase" 'BEGIN {
    a = t - p; if (a <= 0) a = 0.001
    printf "  project reports of lqa reports: %.2f s after %.2f s of analysis (%.1f %%)\n", p, a, 100 * p / a }'
  if [[ $name == linux* ]]; then
    # User defined notices: quality notices alone, then with the ten rules of
    # bench/udqn_rules.cfg; the last line gives the cost of the rules.
    local plain
    read -r plain kb < <(measure "$lqa" -n -F "$work/files")
    row "lqa -n" "$plain" "$kb" "$base" "$bytes" "$lines"
    read -r s kb < <(measure env LQAHOME="$udqn_home" "$lqa" -n -F "$work/files")
    row "lqa -n +udqn" "$s" "$kb" "$base" "$bytes" "$lines"
    awk -v s="$s" -v p="$plain" 'BEGIN { if (p <= 0) p = 0.005; printf "  ten user defined notices: %.2f times the time of lqa -n\n", s / p }'
  fi
  # Listing the tree in name order (-r descent and the -Rn re-sort, no
  # analysis): the tests check this listing for completeness only.
  local exts
  exts=$(echo "$pats" | sed 's/\*\.//g; s/ /,/g')
  read -r s kb < <(measure "$lqa" -Rl -Rn -r"$exts $dir")
  row "lqa -Rl -Rn -r" "$s" "$kb" "$base" "$bytes" "$lines"
  [ "$name" = linux-fs ] && bench_notice_documents
  # The source utilities stream; on fs/ each should stay within twice -s.
  if [ "$name" = linux-fs ]; then
    for u in -Es -Ec -p; do
      read -r s kb < <(measure "$lqa" "$u" -F "$work/files")
      row "lqa $u" "$s" "$kb" "$base" "$bytes" "$lines"
    done
    read -r s kb < <(measure_rewrite)
    row "lqa -Dt" "$s" "$kb" "$base" "$bytes" "$lines"
  fi
  if have cloc; then
    read -r s kb < <(measure cloc --quiet --list-file="$work/files")
    row cloc "$s" "$kb" "$base" "$bytes" "$lines"
  fi
  if have sloccount; then
    # sloccount takes a directory and finds its own files in it.
    mkdir -p "$work/slocdata"
    read -r s kb < <(measure sloccount --datadir "$work/slocdata" "$dir")
    row sloccount "$s" "$kb" "$base" "$bytes" "$lines"
  fi
  if have pmccabe && [[ $name != jdk && $name != csharp ]]; then
    read -r s kb < <(measure xargs -a "$work/files" -d '\n' pmccabe)
    row pmccabe "$s" "$kb" "$base" "$bytes" "$lines"
  fi
  read -r s kb < <(measure xargs -a "$work/files" -d '\n' wc -l)
  row "wc -l" "$s" "$kb" "$base" "$bytes" "$lines"
}

# Baselines and their comparison: a baseline of fs/ with line data, a copy
# with about 10 % of its files edited (bench/edit_tree.py), a second
# baseline, and the comparison of the two, which should take less time than
# creating one baseline.
bench_workdiff() {
  local src dw edited s kb
  src=$(corpus_dir linux-fs)
  [ -d "$src" ] || { echo "skipping the differential: $src missing" >&2; return 0; }
  dw="$work/workdiff"
  mkdir -p "$dw"
  cp -r "$src" "$dw/old"
  cp -r "$src" "$dw/new"
  edited=$(python3 "$here/bench/edit_tree.py" "$dw/new")
  printf '\nlinux-fs differential: %s\n' "$edited"
  printf '  %-28s %9s %9s\n' step seconds "peak MB"
  diff_step() {  # label, then the lqa arguments
    local label=$1
    shift
    read -r s kb < <(cd "$dw" && measure "$lqa" "$@")
    printf '  %-28s %9.2f %9.1f\n' "$label" "$s" "$(echo "$kb / 1024" | bc -l)"
  }
  diff_step "baseline old -wd" "-wFile dat old.dat" "-wcreate old" -wd "-rc,h old"
  diff_step "baseline new -wd" "-wFile dat new.dat" "-wcreate new" -wd "-rc,h new"
  diff_step "comparison -wd" -wd "-wxold.dat, new.dat"
  diff_step "comparison by size" "-wxold.dat, new.dat"
}

# The gate on a repository holding fs/ whose last commit edits a few files
# (bench/edit_tree.py), against one plain analysis of the tree, in paired
# runs; the gate's cpu includes its side runs and git. The target: at most
# 1.5 times the plain run's wall time on two cores.
bench_gate() {
  local src repo home30 wa ca wb cb edited
  src=$(corpus_dir linux-fs)
  [ -d "$src" ] || { echo "skipping the gate: $src missing" >&2; return 0; }
  repo="$work/gate"
  mkdir -p "$repo"
  cp -r "$src" "$repo/fs"
  (cd "$repo" && git init -q . && git config user.name bench && git config user.email bench@example.invalid &&
    git add -A && git commit -q -m base)
  edited=$(python3 "$here/bench/edit_tree.py" "$repo/fs" 1)
  (cd "$repo" && git commit -q -a -m change)
  home30="$work/home30"
  mkdir -p "$home30"
  printf 'Quality Notice 30 : No\n' > "$home30/lqa.cfg"
  printf '\nlinux-fs gate, change: %s; median of %d paired runs\n' "$edited" "$runs"
  for h in "$LQAHOME" "$home30"; do
    [ "$h" = "$LQAHOME" ] && printf '  default notices\n' || printf '  tab notice (30) off\n'
    read -r wa ca wb cb < <(cd "$repo" && LQAHOME=$h measure_pair -- "$lqa" -n -fa "-rc,h fs" -- \
      "$lqa" -Ggit:HEAD~1 "-rc,h fs")
    awk -v wa="$wa" -v ca="$ca" -v wb="$wb" -v cb="$cb" 'BEGIN {
      if (wa <= 0) wa = 0.005; if (ca <= 0) ca = 0.005
      printf "    %-18s %7.2f s wall %6.2f s cpu\n", "lqa -n -fa", wa, ca
      printf "    %-18s %7.2f s wall %6.2f s cpu  (%.2f and %.2f times)\n", "lqa -Ggit:HEAD~1", wb, cb, wb / wa, cb / ca }'
  done
}

prepare_linux
corpora=(linux-fs)
if [ "$mode" = gate ]; then
  bench_gate
  exit 0
elif [ "$mode" = notices ]; then
  find "$(corpus_dir linux-fs)" -type f \( -name '*.c' -o -name '*.h' \) | LC_ALL=C sort > "$work/files"
  printf 'lqa notice documents on Linux fs/, median of %d paired runs\n' "$runs"
  bench_notice_documents
  exit 0
elif [ "$mode" = workdiff ]; then
  corpora=()
elif [ "$mode" = full ]; then
  prepare_jdk || true
  prepare_csharp
  corpora=(linux-fs linux jdk boost csharp)
fi
printf 'lqa benchmark, %s, %s cores, median of %d runs, lqa fullest = %s, lqa reports = %s\n' "$(date -u +%F)" \
  "$(nproc)" "$runs" "${lqa_fullest[*]}" "${lqa_reports[*]}"
for c in "${corpora[@]+"${corpora[@]}"}"; do bench_corpus "$c"; done
bench_workdiff
