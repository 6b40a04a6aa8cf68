#!/usr/bin/env bash
# Builds and runs every test: native (sanitized), the Windows binaries under
# Wine, and a bounded fuzz run. Prints each step's wall time
# and the total, and ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."

started=$(date +%s%N)
scripts/install-deps.sh || exit 1

# Inputs each fuzz target runs: a count rather than a time, so that a slow
# machine still tries as many.
fuzz_runs=${HW_FUZZ_RUNS:-1000000}
passed=0
failed=0
timings=()
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# seconds_since NANOSECONDS: the wall time since then, in seconds to 0.1.
seconds_since() {
  local tenths=$((($(date +%s%N) - $1) / 100000000))
  echo "$((tenths / 10)).$((tenths % 10))"
}

# step NAME COMMAND...: runs one step and notes its wall time; a failing step
# counts once.
step() {
  local name=$1
  shift
  echo "== $name"
  local begun
  begun=$(date +%s%N)
  "$@"
  local status=$?
  local took
  took=$(seconds_since "$begun")
  timings+=("$(printf '%8s s  %s' "$took" "$name")")
  if [ "$status" -ne 0 ]; then
    echo "== $name FAILED ($took s)"
    failed=$((failed + 1))
    return 1
  fi
  echo "== $name: $took s"
}

# The targets a preset builds when not all: ThreadSanitizer runs only the
# tests that drive one link from two threads, built into one binary of their
# own (its test preset picks those tests by name).
declare -A build_targets=([tsan]="thread_tests")

# tests PRESET [WRAPPER...]: configure, build and run one preset's tests, and
# add ctest's counts to the totals.
tests() {
  local preset=$1
  shift
  local targets=()
  [ -n "${build_targets[$preset]:-}" ] && targets=(--target ${build_targets[$preset]})
  step "configure $preset" cmake --preset "$preset" -DHW_WERROR=ON >/dev/null || return
  step "build $preset" cmake --build --preset "$preset" -j2 "${targets[@]}" || return
  [ "$preset" = windows ] && { step "wine prefix" scripts/wine-prefix.sh build/windows || return; }
  step "ctest $preset" run_ctest "$preset" "$@"
  local summary
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$summary" ]; then
    echo "== ctest $preset gave no summary"
    failed=$((failed + 1))
    return
  fi
  local bad total
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

# run_ctest PRESET [WRAPPER...]: the preset's tests, their output kept in $log,
# where the caller counts the passed and failed ones.
run_ctest() {
  local preset=$1
  shift
  "$@" ctest --preset "$preset" -j2 2>&1 | tee "$log" || true
}

# The fuzz targets are built first and then run in the background at the
# lowest priority, each for $fuzz_runs inputs: they take the processor time
# the builds and the Wine tests leave idle, and the run waits for them at the
# end. A failing target counts once.
fuzz_pids=()
fuzz_targets=()
start_fuzzers() {
  step "configure fuzz" cmake --preset fuzz -DHW_WERROR=ON >/dev/null || return
  step "build fuzz" cmake --build --preset fuzz -j2 --target link_fuzz sim_fuzz || return
  fuzz_started=$(date +%s%N)
  local target
  for target in build/fuzz/fuzz/*_fuzz; do
    nice -n 19 "$target" -runs="$fuzz_runs" -timeout=10 -rss_limit_mb=4096 \
      -artifact_prefix=build/fuzz/ -print_final_stats=1 >"$target.log" 2>&1 &
    fuzz_pids+=($!)
    fuzz_targets+=("$target")
    echo "== fuzz $(basename "$target"): started in the background"
  done
}

# Waits for the fuzz targets, prints each one's output and counts it passed or
# failed; notes the time waited here and the fuzz run's whole wall time.
finish_fuzzers() {
  [ "${#fuzz_pids[@]}" -gt 0 ] || return 0
  local waited i target
  waited=$(date +%s%N)
  for i in "${!fuzz_pids[@]}"; do
    target=${fuzz_targets[$i]}
    if wait "${fuzz_pids[$i]}"; then
      passed=$((passed + 1))
      echo "== fuzz $(basename "$target"): passed"
    else
      failed=$((failed + 1))
      echo "== fuzz $(basename "$target") FAILED"
    fi
    cat "$target.log"
  done
  timings+=("$(printf '%8s s  %s' "$(seconds_since "$waited")" "waiting for the fuzz targets")")
  timings+=("$(printf '%8s s  %s' "$(seconds_since "$fuzz_started")" \
    "fuzz, $fuzz_runs inputs a target (in the background since its build)")")
}

# The soak of the console tests runs a seeded random series; the seed is
# printed so that a failing series can be run again (HW_SOAK_SEED=N), and
# HW_SOAK_RUNS makes it longer.
export HW_SOAK_SEED=${HW_SOAK_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
echo "== soak seed $HW_SOAK_SEED"

# The native tests run once, under AddressSanitizer and
# UndefinedBehaviorSanitizer: a plain native build would run the very same
# tests again. The native preset stays for working on the code.
start_fuzzers
tests asan
tests tsan
tests windows xvfb-run -a
finish_fuzzers

echo "== wall time per step"
printf '%s\n' "${timings[@]}"
echo "== total: $(seconds_since "$started") s"
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
