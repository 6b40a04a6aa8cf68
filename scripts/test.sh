#!/usr/bin/env bash
# Builds and runs every test: native (plain and sanitized), the Windows
# binaries under Wine, and a bounded fuzz run. Ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh || exit 1

fuzz_seconds=${HW_FUZZ_SECONDS:-60}
passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# step NAME COMMAND...: runs one step; a failing step counts once.
step() {
  local name=$1
  shift
  echo "== $name"
  if ! "$@"; then
    echo "== $name FAILED"
    failed=$((failed + 1))
    return 1
  fi
}

# The targets a preset builds when not all: ThreadSanitizer runs only the
# suites whose tests drive one link from two threads (its test preset picks
# those tests by name).
declare -A build_targets=([tsan]="commands_tests console_tests")

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
  "$@" ctest --preset "$preset" -j2 2>&1 | tee "$log"
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

fuzz() {
  step "configure fuzz" cmake --preset fuzz -DHW_WERROR=ON >/dev/null || return
  step "build fuzz" cmake --build --preset fuzz -j2 --target link_fuzz sim_fuzz || return
  for target in build/fuzz/fuzz/*_fuzz; do
    step "fuzz $(basename "$target") ${fuzz_seconds}s" \
      "$target" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=4096 \
      -artifact_prefix=build/fuzz/ \
      -print_final_stats=1 && passed=$((passed + 1))
  done
}

tests native
tests asan
tests tsan
tests windows xvfb-run -a
fuzz

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
