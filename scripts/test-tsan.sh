#!/usr/bin/env bash
# The tests that run real worker threads (page fetches and the sim desktop's
# web), under ThreadSanitizer. Exits non-zero when a test fails or a data
# race is reported.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/native-tsan
filter='*Fetch*:*Worker*:SimWeb.*'

cmake -S . -B "$build" -G Ninja -DQUILLO_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target quillo_tests

# GCC 12's ThreadSanitizer cannot map its shadow memory when the kernel
# randomises mmap addresses with more than 28 bits ("unexpected memory
# mapping"): the tests then run with address randomisation off.
run=()
bits=$(cat /proc/sys/vm/mmap_rnd_bits 2>/dev/null || echo 0)
if [ "$bits" -gt 28 ] || ! "$build/quillo_tests" --gtest_list_tests >/dev/null 2>&1; then
  if setarch "$(uname -m)" -R true 2>/dev/null; then
    run=(setarch "$(uname -m)" -R)
  fi
fi
TSAN_OPTIONS="halt_on_error=1 exitcode=66 ${TSAN_OPTIONS:-}" \
  "${run[@]}" "$build/quillo_tests" --gtest_filter="$filter"
