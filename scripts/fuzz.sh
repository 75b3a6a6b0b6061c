#!/usr/bin/env bash
# Builds the core's fuzz targets (tests/fuzz) with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ and runs each for a number of seconds.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 60); TARGETs among show_data history gen_val read_par units comm_settings
# feet_inches cli_options config_screen (default all).
# Environment: FUZZ_BUILD_DIR (default <repo>/build-fuzz), JOBS (build jobs, default 2),
# FUZZ_ARGS (more libFuzzer options; "-fork=1 -ignore_crashes=1" keeps going after a fault and
# collects every one it meets).
#
# New inputs go to build-fuzz/fuzz-work/<target>/corpus (the starting corpus in the repository is
# only read); crashes, leaks, hangs and sanitizer reports to build-fuzz/fuzz-work/<target>/
# artifacts/ with the log next to them. Run one again with
#   build-fuzz/tests/fuzz/sondix_fuzz_<target> <artifact>
# The exit status is 1 when any target left an artifact.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(show_data history gen_val read_par units comm_settings feet_inches cli_options config_screen)
build=${FUZZ_BUILD_DIR:-$repo/build-fuzz}
jobs=${JOBS:-2}

# clang with its fuzzer and sanitizer run-time libraries, and what the configure step needs.
packages=(clang libclang-rt-14-dev cmake make pkg-config libxlsxwriter-dev libgtest-dev libcli11-dev
  nlohmann-json3-dev)


configure_and_build() {
  local flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
  flags+=" -fno-omit-frame-pointer"
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DSONDIX_BUILD_GUI=OFF -DSONDIX_BUILD_BENCH=OFF -DSONDIX_FUZZ_ENGINE=libfuzzer \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
  local names=()
  for t in "${targets[@]}"; do names+=("sondix_fuzz_$t"); done
  cmake --build "$build" -j "$jobs" --target "${names[@]}"
}

# Runs one target; 0 when it left no artifact.
run_target() {
  local t=$1
  local exe="$build/tests/fuzz/sondix_fuzz_$t"
  local work="$build/fuzz-work/$t"
  mkdir -p "$work/corpus" "$work/artifacts"
  local max_len=4096
  [ "$t" = show_data ] && max_len=8192
  echo "fuzz: $t for $seconds s" >&2
  # shellcheck disable=SC2086
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
      -dict="$repo/tests/fuzz/sensor.dict" -artifact_prefix="$work/artifacts/" \
      -print_final_stats=1 ${FUZZ_ARGS:-} \
      "$work/corpus" "$repo/tests/fuzz/corpus/$t" >"$work/fuzz.log" 2>&1 || true
  { grep -E '^stat::(number_of_executed_units|new_units_added)|oom/timeout/crash' \
      "$work/fuzz.log" || true; } | tail -n 2 >&2
  local found
  found=$(find "$work/artifacts" -type f | sort)
  if [ -n "$found" ]; then
    echo "fuzz: $t left artifacts (log: $work/fuzz.log):" >&2
    echo "$found" >&2
    return 1
  fi
  return 0
}

bash "$repo/scripts/install-deps.sh" "${packages[@]}"
configure_and_build
status=0
for t in "${targets[@]}"; do
  run_target "$t" || status=1
done
exit $status
