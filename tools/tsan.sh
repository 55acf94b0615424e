#!/usr/bin/env bash
# Builds lqa and the end-to-end test programs with ThreadSanitizer and runs
# them with the determinism check on: every run of lqa is made serially and
# again with worker threads finishing in reverse order, and any data race
# ends the run; the unit tests of the structures threads share run too.
# Only what these tests need is built.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLQA_WERROR=ON -DLQA_TSAN=ON >/dev/null
cmake --build build-tsan -j "$jobs" --target lqa manpage test_e2e test_parallel test_common

# A test that fails is run once more: under ThreadSanitizer's slowdown a
# test that checks timing-dependent clean-up has been seen to fail once in
# hundreds of runs; a data race ends every run it happens in.
export TSAN_OPTIONS="halt_on_error=1:abort_on_error=1:second_deadlock_stack=1"
export LQA_TEST_PARALLEL_CHECK="${LQA_TEST_PARALLEL_CHECK:-jobs=3 order=reverse}"
ctest --test-dir build-tsan --output-on-failure --repeat until-pass:2 -j "$jobs" \
  -R '^(e2e|parallel)\.|^common\.(SharedNameSet|OrderedBlocks)\.' -E '^parallel\.e2e_'
