#!/usr/bin/env bash
# Builds the libFuzzer target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and fuzzes the analysis of one file.
#   bash tools/fuzz.sh [seconds]     default 60; crashes land in build-fuzz/crashes
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLQA_FUZZ=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz --target lqa_fuzz -j "$(nproc)"
mkdir -p build-fuzz/corpus build-fuzz/crashes
cp -n fuzz/seeds/* build-fuzz/corpus/ 2>/dev/null || true
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  build-fuzz/lqa_fuzz -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=4096 \
  -artifact_prefix=build-fuzz/crashes/ build-fuzz/corpus fuzz/seeds
