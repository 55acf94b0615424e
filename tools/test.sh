#!/usr/bin/env bash
# Builds lqa and runs the whole test suite twice: once in the normal build and
# once under AddressSanitizer and UndefinedBehaviorSanitizer, installs the
# normal build and its Debian package the way users get them (as root), runs
# the end-to-end tests under ThreadSanitizer with worker threads, then fuzzes
# the analysis of one file for a minute. Warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DLQA_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# cmake --install, the installed program run by another user, the Debian package.
if [ "$(id -u)" -eq 0 ]; then
  bash tools/install_check.sh build
else
  echo "install check skipped: it runs as root (it switches to the user nobody)"
fi

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLQA_WERROR=ON -DLQA_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The end-to-end tests under ThreadSanitizer, each run of lqa also made with
# worker threads finishing in reverse order and compared with the serial run.
JOBS="$jobs" bash tools/tsan.sh

# A minute of fuzzing the analysis of one file, so that a regression shows.
bash tools/fuzz.sh 60
