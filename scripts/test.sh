#!/usr/bin/env bash
# Every test, on a fresh Debian machine: installs what is missing, builds the
# four presets (native, native-asan, win32, win64), runs the unit tests plainly
# and under the sanitizers, the end-to-end tests of the real 64-bit program
# under Wine, and short fuzz runs. Ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${JOBS:-2}

scripts/install-deps.sh || exit 1

passed=0
failed=0
failures=()
step() {  # step NAME COMMAND...: runs a build step; a failing one is counted
  local name=$1; shift
  echo "==== $name"
  if "$@"; then return 0; fi
  failed=$((failed + 1)); failures+=("$name"); return 1
}
# Adds the counts of a ctest run read from its log.
count_ctest() {
  local log=$1 line total fails
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  fails=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + total - fails)); failed=$((failed + fails))
}
run_ctest() {  # run_ctest NAME BUILD_DIR
  local log="$2/ctest.log"
  echo "==== $1"
  ctest --test-dir "$2" -j"$jobs" --output-on-failure --timeout 300 2>&1 | tee "$log"
  count_ctest "$log"
}

# Host builds and unit tests.
if step "native build" cmake --preset native >/dev/null && step "native build" cmake --build --preset native -j"$jobs"; then
  run_ctest "unit tests" build/native
fi
if step "native-asan build" cmake --preset native-asan >/dev/null &&
   step "native-asan build" cmake --build --preset native-asan -j"$jobs"; then
  run_ctest "unit tests under ASan/UBSan" build/native-asan
fi

# The tests that run real worker threads, under ThreadSanitizer.
tsan_log=build/tsan.log
mkdir -p build
if step "worker tests under TSan" bash -c 'set -o pipefail; scripts/test-tsan.sh 2>&1 | tee "$0"' "$tsan_log"; then
  count=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' "$tsan_log" | tail -n 1)
  passed=$((passed + ${count:-0}))
fi

# The Windows builds: the 32-bit product must build; the 64-bit copy runs under Wine.
step "win32 build" cmake --preset win32 >/dev/null && step "win32 build" cmake --build --preset win32 -j"$jobs"
step "win64 build" cmake --preset win64 >/dev/null && step "win64 build" cmake --build --preset win64 -j"$jobs"
if [ -f build/win32/zoLapet.exe ]; then
  echo "==== zoLapet.exe (32-bit): $(stat -c %s build/win32/zoLapet.exe) bytes; imports:"
  i686-w64-mingw32-objdump -p build/win32/zoLapet.exe | sed -n 's/^\s*DLL Name: /  /p'
fi

# End-to-end tests of the real program under Wine, from the e2e build (its
# web addresses point at the test server on 127.0.0.1).
if [ -f e2e/quillo_e2e.py ]; then
  e2e_log=build/e2e.log
  if step "e2e win64 build" scripts/build-e2e.sh; then
    echo "==== end-to-end tests under Wine"
    python3 e2e/quillo_e2e.py --build-dir build/e2e-win64 2>&1 | tee "$e2e_log"
    line=$(grep -E '^e2e: [0-9]+ passed, [0-9]+ failed' "$e2e_log" | tail -n 1)
    if [ -n "$line" ]; then
      passed=$((passed + $(sed -E 's/^e2e: ([0-9]+) passed.*/\1/' <<<"$line")))
      failed=$((failed + $(sed -E 's/.*passed, ([0-9]+) failed.*/\1/' <<<"$line")))
    else
      failed=$((failed + 1)); failures+=("e2e")
    fi
  fi
fi

# Short fuzz runs of the parsers of outside input (clang, libFuzzer).
if ls tests/fuzz/*.cpp >/dev/null 2>&1; then
  if step "fuzz build" env CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DQUILLO_FUZZ=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
     step "fuzz build" cmake --build build/fuzz -j"$jobs"; then
    for target in build/fuzz/fuzz_*; do
      [ -x "$target" ] || continue
      name=$(basename "$target")
      mkdir -p "build/fuzz/corpus/$name"
      if step "$name" "$target" -max_total_time="${FUZZ_SECONDS:-20}" -max_len=4096 \
            "build/fuzz/corpus/$name" >"build/fuzz/$name.log" 2>&1; then
        passed=$((passed + 1)); echo "  $(grep -E 'Done [0-9]+ runs' "build/fuzz/$name.log" | tail -n 1)"
      else
        tail -n 30 "build/fuzz/$name.log"
      fi
    done
  fi
fi

[ "${#failures[@]}" -gt 0 ] && echo "failed steps: ${failures[*]}"
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
