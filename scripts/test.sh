#!/usr/bin/env bash
# Sets everything up and runs every test: a build with warnings as errors, the same tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, the threaded tests under ThreadSanitizer, and a short
# run of every fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
summary=()
# Line tables are enough for sanitizer reports and cost a quarter less compile time than full debug info.
lines_only=(-DCMAKE_C_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_DEBUG=-g1
            "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")

run_ctest() {
  local dir=$1; shift
  local log="$dir/ctest.log"
  set +e
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  set -e
  summary+=("$(basename "$dir"): $(grep -E "tests passed, [0-9]+ tests failed" "$log" | tail -n 1 || true)")
  return $rc
}

FUZZ_SECONDS=${ZARN_FUZZ_SECONDS:-15}
scripts/fuzz.sh "$FUZZ_SECONDS"

# Threaded code (the test programs named *_threads) under ThreadSanitizer; only those are built.
tsan=build/tsan
if [ ! -f "$tsan/build.ninja" ]; then
  cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARN_WERROR=ON -DZARN_SANITIZE=thread \
    -DZARN_BENCH=OFF "${lines_only[@]}"
fi
mapfile -t tsan_targets < <(ninja -C "$tsan" -t targets all | sed -n 's/^\(test_[a-z_]*_threads\): .*/\1/p' | sort -u)
if [ ${#tsan_targets[@]} -gt 0 ]; then
  cmake --build "$tsan" -j "$jobs" --target "${tsan_targets[@]}"
  tsan_options="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp"
  if ! TSAN_OPTIONS=$tsan_options run_ctest "$tsan" -L threads; then
    # The sanitizer's own runtime now and then fails to map its shadow memory as a test
    # program exits, after every test in it passed ("ThreadSanitizer failed to allocate"). Tests
    # that failed only that way run once more; a reported race or any other failure is never rerun.
    log="$tsan/ctest.log"
    if grep -q "ThreadSanitizer failed to allocate" "$log" && ! grep -qE "WARNING: ThreadSanitizer|\[  FAILED  \]" "$log"; then
      first=${summary[-1]}
      unset 'summary[-1]'
      TSAN_OPTIONS=$tsan_options run_ctest "$tsan" --rerun-failed
      total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' <<<"$first")
      summary[-1]="tsan: 100% tests passed, 0 tests failed out of $total (after a rerun of the runtime's mapping failures)"
    else
      exit 1
    fi
  fi
fi

scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug -DZARN_WERROR=ON "-DZARN_SANITIZE=address;undefined" \
  -DZARN_BENCH=OFF "${lines_only[@]}"
run_ctest build/asan

scripts/build.sh build/ci -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARN_WERROR=ON "${lines_only[@]}"
run_ctest build/ci

printf '%s\n' "${summary[@]}"
# One closing line over every ctest run above (each test counts once per build it ran in).
passed=0; failed=0
for line in "${summary[@]}"; do
  if [[ $line =~ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    total=${BASH_REMATCH[1]}
    [[ $line =~ ([0-9]+)\ tests\ failed ]] && f=${BASH_REMATCH[1]}
    passed=$((passed + total - f)); failed=$((failed + f))
  fi
done
echo "$passed passed, $failed failed"
