#!/usr/bin/env bash
# Times lqa side by side with its peers on the same files and prints, per
# corpus, the median wall time, MB/s, lines/s, peak resident memory and the
# ratio of each tool's time to the default lqa run.
#
#   bench/bench.sh [quick|full] [runs]
#
#   quick (default)  the fs/ subtree of the Linux sources, the paired runs on
#                    it, and the differential of two baselines of it
#   full             fs/, the whole Linux tree, the JDK Java sources, the Boost
#                    headers and a generated C# tree, and the paired runs
#   workdiff         only the differential of two baselines of fs/
#   paired           only the paired runs (below)
#   notices          only the SARIF log and GitLab report of fs/ beside -n -fa -o
#   json [runs [corpus]]  only -J -Ta against -X -Ta, paired (default: the whole
#                    Linux tree; bench/bench.sh json 3 linux-fs for fs/)
#
# Paired runs alternate two commands run after run and give the median CPU
# (user + system) and wall seconds of each, so that a busy machine slows
# both alike: the default run on fs/ against a baseline build, -c -fa on fs/
# against pmccabe, and the share of the project reports in the fullest run on
# fs/; in full mode also the fullest set on the whole Linux tree, serial.
# The baseline is a binary named by LQA_BASELINE, or a commit named by
# LQA_BASELINE_REF that is built in a temporary worktree (for example the
# commit before the analyses: LQA_BASELINE_REF=907cabe).
#   parallel [runs]  only -j0 against -j1: the default run on fs/ and the
#                    fullest set on the whole Linux tree (wall ratio is the speed-up)
#   gate             only the quality gate on a git repository of fs/ with a
#                    change of a few files (-G"git:HEAD~1", both sides
#                    analysed in full and the unchanged files compared by
#                    digest; with the head's snapshot written, which records
#                    every file; and two whole directories) beside -n -fa,
#                    with the default notices and with the tab notice off,
#                    with peak memory
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
# The set the memory and speed goals of the whole Linux tree are given for.
lqa_every=(-s -v -c -fa -fd -o -n -m -a -i -e -fp)

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
  local ma=0 mb=0 kb
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "${a[@]}" > /dev/null 2>&1 || true
    read -r s u y kb < <(tail -1 "$work/time")
    wa+=("$s"); ca+=("$(echo "$u + $y" | bc -l)")
    [ "$kb" -gt "$ma" ] && ma=$kb
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "${b[@]}" > /dev/null 2>&1 || true
    read -r s u y kb < <(tail -1 "$work/time")
    wb+=("$s"); cb+=("$(echo "$u + $y" | bc -l)")
    [ "$kb" -gt "$mb" ] && mb=$kb
  done
  # The peak resident memory of each (the largest process, in KB), for the
  # callers that want it.
  printf '%s %s\n' "$ma" "$mb" > "$work/peaks"
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

# The JSON document of every report against the XML document it is
# transcoded from: at most 1.2 times the time and peak memory within 10 %.
# Paired runs, the reports to /dev/null; uses $work/files.
bench_json() {
  local m s u y kb wx=() cx=() kx=() wj=() cj=() kj=()
  for _ in $(seq "$runs"); do
    for m in -X -J; do
      /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$lqa" "$m" -Ta -F "$work/files" > /dev/null 2>&1 || true
      read -r s u y kb < <(tail -1 "$work/time")
      if [ "$m" = -X ]; then wx+=("$s"); cx+=("$(echo "$u + $y" | bc -l)"); kx+=("$kb")
      else wj+=("$s"); cj+=("$(echo "$u + $y" | bc -l)"); kj+=("$kb"); fi
    done
  done
  local med='{a[NR]=$1} END {print a[int((NR+1)/2)]}' v=()
  for list in wx cx kx wj cj kj; do
    local -n l=$list
    v+=("$(printf '%s\n' "${l[@]}" | sort -n | awk "$med")")
  done
  awk -v wx="${v[0]}" -v cx="${v[1]}" -v kx="${v[2]}" -v wj="${v[3]}" -v cj="${v[4]}" -v kj="${v[5]}" 'BEGIN {
    if (wx <= 0) wx = 0.005; if (cx <= 0) cx = 0.005; if (kx <= 0) kx = 1
    printf "  %-10s %7.2f s wall %7.2f s cpu %8.1f MB\n", "lqa -X -Ta", wx, cx, kx / 1024
    printf "  %-10s %7.2f s wall %7.2f s cpu %8.1f MB  (%.2f, %.2f and %.2f times)\n", "lqa -J -Ta", wj, cj, kj / 1024,
      wj / wx, cj / cx, kj / kx }'
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

# Runs each "label=command" in turn, $runs rounds; prints per command the
# median CPU seconds (user + system), median wall seconds and peak MB, and
# the CPU ratio of each to the first.
paired() {
  local specs=("$@") i r
  local -a cpu wall peak
  for ((r = 0; r < runs; r++)); do
    for i in "${!specs[@]}"; do
      /usr/bin/time -f '%U %S %e %M' -o "$work/time" bash -c "${specs[$i]#*=}" > /dev/null 2>&1 || true
      read -r u sy e kb < <(tail -1 "$work/time")
      cpu[$i]+="$(echo "$u + $sy" | bc) "
      wall[$i]+="$e "
      [ "${peak[$i]:-0}" -lt "$kb" ] && peak[$i]=$kb
    done
  done
  local med='{a[NR]=$1} END {print a[int((NR+1)/2)]}' first=""
  for i in "${!specs[@]}"; do
    local c w
    c=$(printf '%s\n' ${cpu[$i]} | sort -n | awk "$med")
    w=$(printf '%s\n' ${wall[$i]} | sort -n | awk "$med")
    [ -n "$first" ] || first=$c
    awk -v n="${specs[$i]%%=*}" -v c="$c" -v w="$w" -v kb="${peak[$i]}" -v f="$first" 'BEGIN {
      printf "  %-24s cpu %7.2f s  wall %7.2f s  peak %7.1f MB  cpu/first %5.2f\n", n, c, w, kb / 1024, (f > 0 ? c / f : 0) }'
  done
}

# The baseline binary for the paired default run, if one is asked for.
baseline_binary() {
  if [ -n "${LQA_BASELINE:-}" ]; then
    echo "$LQA_BASELINE"
  elif [ -n "${LQA_BASELINE_REF:-}" ]; then
    local tree="$work/baseline"
    git -C "$here" worktree add -q --detach "$tree" "$LQA_BASELINE_REF" >&2
    cmake -S "$tree" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF > /dev/null
    cmake --build "$tree/build" --target lqa -j2 > /dev/null
    cp "$tree/build/lqa" "$work/lqa-baseline"
    git -C "$here" worktree remove --force "$tree" >&2
    echo "$work/lqa-baseline"
  fi
}

bench_paired() {
  local dir files base
  dir=$(corpus_dir linux-fs)
  [ -d "$dir" ] || { echo "skipping the paired runs: $dir missing" >&2; return 0; }
  find "$dir" -type f \( -name '*.c' -o -name '*.h' \) | LC_ALL=C sort > "$work/fs.files"
  files="$work/fs.files"
  printf '\npaired runs on linux-fs (%d files), %d rounds, load %s\n' "$(wc -l < "$files")" "$runs" \
    "$(cut -d' ' -f1-3 /proc/loadavg)"
  base=$(baseline_binary)
  if [ -n "$base" ]; then
    echo " default run against the baseline ${LQA_BASELINE_REF:-$base}:"
    paired "baseline=$base -F $files" "lqa=$lqa -F $files"
  fi
  if have pmccabe; then
    echo " -c -fa against pmccabe:"
    paired "pmccabe=xargs -a $files -d '\n' pmccabe" "lqa -c -fa=$lqa -c -fa -F $files"
  fi
  # The project reports run from the "Post Processing" progress line (shown
  # with -O) to the end of the process.
  local total phase
  read -r total phase < <(measure_reports "$lqa" "${lqa_every[@]}" -O /dev/null -F "$files")
  awk -v t="$total" -v p="$phase" 'BEGIN {
    if (t <= 0) t = 0.001
    printf " project reports of %s: %.2f s of %.2f s (%.1f %% of the run)\n", "every switch", p, t, 100 * p / t }'
  if [ "$mode" = full ] && [ -d "$(corpus_dir linux)" ]; then
    find "$(corpus_dir linux)" -type f \( -name '*.c' -o -name '*.h' \) | LC_ALL=C sort > "$work/linux.files"
    printf ' whole Linux tree (%d files), %s, serial:\n' "$(wc -l < "$work/linux.files")" "${lqa_every[*]}"
    paired "lqa every switch=$lqa ${lqa_every[*]} -F $work/linux.files"
  fi
}

# Worker threads against the serial run, paired: the default run on fs/ and
# the fullest set on the whole Linux tree, -j1 against -j0 (every usable
# CPU), with the peak memory of each.
bench_parallel() {
  local fs linux
  fs=$(corpus_dir linux-fs)
  linux=$(corpus_dir linux)
  [ -d "$fs" ] || { echo "skipping the parallel runs: $fs missing" >&2; return 0; }
  find "$fs/" -type f \( -name '*.c' -o -name '*.h' \) | LC_ALL=C sort > "$work/fs.files"
  printf 'lqa -j0 against -j1, %s cores, median of %d paired runs, load %s\n' "$(nproc)" "$runs" \
    "$(cut -d' ' -f1-3 /proc/loadavg)"
  printf ' default run on linux-fs (%d files):\n' "$(wc -l < "$work/fs.files")"
  paired "-j1=$lqa -j1 -F $work/fs.files" "-j0=$lqa -j0 -F $work/fs.files"
  if [ -d "$linux" ]; then
    find "$linux/" -type f \( -name '*.c' -o -name '*.h' \) | LC_ALL=C sort > "$work/linux.files"
    printf ' whole Linux tree (%d files), %s:\n' "$(wc -l < "$work/linux.files")" "${lqa_every[*]}"
    paired "-j1=$lqa -j1 ${lqa_every[*]} -F $work/linux.files" "-j0=$lqa -j0 ${lqa_every[*]} -F $work/linux.files"
  fi
}

# The gate on a repository holding fs/ whose last commit edits a few files
# (bench/edit_tree.py), against one plain analysis of the tree, in paired
# runs; the gate's cpu includes its side runs and git, its memory is that of
# its largest process. Three forms: the default (a git base: both sides
# analysed in full, only the changed files recorded in full, the others by
# digest), the same with the head's snapshot written (every file recorded),
# and two directories (whole trees, no git).
# The target: at most 1.5 times the plain run's wall time on two cores.
bench_gate() {
  local src repo home30 wa ca wb cb ma mb edited base
  src=$(corpus_dir linux-fs)
  [ -d "$src" ] || { echo "skipping the gate: $src missing" >&2; return 0; }
  repo="$work/gate"
  base="$work/gate-base"
  mkdir -p "$repo" "$base"
  cp -r "$src" "$repo/fs"
  (cd "$repo" && git init -q . && git config user.name bench && git config user.email bench@example.invalid &&
    git add -A && git commit -q -m base)
  edited=$(python3 "$here/bench/edit_tree.py" "$repo/fs" 1)
  (cd "$repo" && git commit -q -a -m change && git archive HEAD~1 | tar -x -C "$base")
  home30="$work/home30"
  mkdir -p "$home30"
  printf 'Quality Notice 30 : No\n' > "$home30/lqa.cfg"
  printf '\nlinux-fs gate, change: %s; median of %d paired runs, peak memory of the largest process\n' "$edited" "$runs"
  for h in "$LQAHOME" "$home30"; do
    [ "$h" = "$LQAHOME" ] && printf '  default notices\n' || printf '  tab notice (30) off\n'
    local name
    for form in changed full dirs; do
      local gate=()
      case $form in
        changed) name='-Ggit:HEAD~1'; gate=("$lqa" -Ggit:HEAD~1 "-rc,h fs") ;;
        full) name='  + -xGATESNAP'; gate=("$lqa" -Ggit:HEAD~1 "-xGATESNAP $work/head.lqagate" "-rc,h fs") ;;
        dirs) name='-G"BASEDIR ."'; gate=("$lqa" "-G$base ." "-rc,h fs") ;;
      esac
      read -r wa ca wb cb < <(cd "$repo" && LQAHOME=$h measure_pair -- "$lqa" -n -fa "-rc,h fs" -- "${gate[@]}")
      read -r ma mb < "$work/peaks"
      awk -v n="$name" -v wa="$wa" -v ca="$ca" -v wb="$wb" -v cb="$cb" -v ma="$ma" -v mb="$mb" 'BEGIN {
        if (wa <= 0) wa = 0.005; if (ca <= 0) ca = 0.005
        printf "    %-18s %7.2f s wall %6.2f s cpu %7.1f MB\n", "lqa -n -fa", wa, ca, ma / 1024
        printf "    %-18s %7.2f s wall %6.2f s cpu %7.1f MB  (%.2f and %.2f times)\n", n, wb, cb, mb / 1024, wb / wa, cb / ca }'
    done
    [ -f "$work/head.lqagate" ] && printf '    snapshot of the head: %s bytes, %s lines\n' \
      "$(stat -c %s "$work/head.lqagate")" "$(wc -l < "$work/head.lqagate")"
  done
}

prepare_linux
corpora=(linux-fs)
if [ "$mode" = json ]; then
  corpus=${3:-linux}
  find "$(corpus_dir "$corpus")" -type f \( -name '*.c' -o -name '*.h' \) | LC_ALL=C sort > "$work/files"
  printf 'lqa JSON against XML on %s, median of %d paired runs\n' "$corpus" "$runs"
  bench_json
  exit 0
elif [ "$mode" = gate ]; then
  bench_gate
  exit 0
elif [ "$mode" = parallel ]; then
  bench_parallel
  exit 0
elif [ "$mode" = notices ]; then
  find "$(corpus_dir linux-fs)" -type f \( -name '*.c' -o -name '*.h' \) | LC_ALL=C sort > "$work/files"
  printf 'lqa notice documents on Linux fs/, median of %d paired runs\n' "$runs"
  bench_notice_documents
  exit 0
elif [ "$mode" = workdiff ] || [ "$mode" = paired ]; then
  corpora=()
elif [ "$mode" = full ]; then
  prepare_jdk || true
  prepare_csharp
  corpora=(linux-fs linux jdk boost csharp)
fi
printf 'lqa benchmark, %s, %s cores, median of %d runs, lqa fullest = %s, lqa reports = %s\n' "$(date -u +%F)" \
  "$(nproc)" "$runs" "${lqa_fullest[*]}" "${lqa_reports[*]}"
for c in "${corpora[@]+"${corpora[@]}"}"; do bench_corpus "$c"; done
[ "$mode" = workdiff ] || bench_paired
[ "$mode" = paired ] || bench_workdiff
