#!/usr/bin/env bash
# Builds the core's fuzz targets (tests/fuzz) with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ and runs each for a number of seconds.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 60); TARGETs among show_data history gen_val read_par units
# comm_settings feet_inches cli_options config_screen (default all).
# Environment: FUZZ_BUILD_DIR (default <repo>/build-fuzz), JOBS (build jobs, default 2),
# FUZZ_NICE (niceness of the runs, default 10), FUZZ_NO_BUILD=1 (run what is built),
# FUZZ_ARGS (more libFuzzer options; "-fork=1 -ignore_crashes=1" keeps going after a fault and
# collects every one it meets).
#
# Long runs: FUZZ_PLATEAU=S runs each target (one at a time, after a clean build) until its
# coverage ("cov:") has not grown for S seconds and it has run at least FUZZ_MIN_RUNS inputs
# (default 0); SECONDS, when not 0, still ends a run. FUZZ_MERGE=1 then merges what each target
# found into its starting corpus, minimised (-merge=1 into a fresh folder; the inputs of mended
# findings, named finding-*, are kept), to be committed:
#   FUZZ_PLATEAU=600 FUZZ_MIN_RUNS=1000000 FUZZ_MERGE=1 scripts/fuzz.sh 0 show_data
#
# New inputs go to build-fuzz/fuzz-work/<target>/corpus (the starting corpus in the repository is
# only read, except by FUZZ_MERGE); crashes, leaks, hangs and sanitizer reports to
# build-fuzz/fuzz-work/<target>/artifacts/ with the log next to them. Run one again with
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
niceness=${FUZZ_NICE:-10}
plateau=${FUZZ_PLATEAU:-}
min_runs=${FUZZ_MIN_RUNS:-0}

# clang with its fuzzer and sanitizer run-time libraries, and what the configure step needs.
packages=(clang libclang-rt-14-dev cmake make pkg-config libxlsxwriter-dev libgtest-dev libcli11-dev
  nlohmann-json3-dev)


configure_and_build() {
  local launcher=""
  command -v ccache >/dev/null &&
    launcher="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
  local flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
  flags+=" -fno-omit-frame-pointer"
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $launcher \
    -DSONDIX_BUILD_GUI=OFF -DSONDIX_BUILD_BENCH=OFF -DSONDIX_FUZZ_ENGINE=libfuzzer \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
  local names=()
  for t in "${targets[@]}"; do names+=("sondix_fuzz_$t"); done
  # A long run starts from a clean build: nothing stale from an older checkout.
  local clean=()
  [ -n "$plateau" ] && clean=(--clean-first)
  nice -n "$niceness" cmake --build "$build" -j "$jobs" "${clean[@]}" --target "${names[@]}"
}

# Stops the run (pid $1, log $2) once "cov:" has not grown for $plateau seconds and at least
# $min_runs inputs have run (as far as libFuzzer's latest "#N" line tells).
watch_plateau() {
  local pid=$1 log=$2 cov=-1 since=$SECONDS line c runs
  while kill -0 "$pid" 2>/dev/null; do
    sleep 5
    line=$(tail -n 40 "$log" | grep -aE '^#[0-9]+.*cov: [0-9]+' | tail -n 1) || continue
    c=$(sed -E 's/.*cov: ([0-9]+).*/\1/' <<<"$line")
    runs=$(sed -E 's/^#([0-9]+).*/\1/' <<<"$line")
    if [ "$c" -gt "$cov" ]; then
      cov=$c
      since=$SECONDS
    fi
    if ((SECONDS - since >= plateau && runs >= min_runs)); then
      echo "fuzz: plateau: cov $cov for $((SECONDS - since)) s, $runs runs" >&2
      kill -INT "$pid" 2>/dev/null || true
      return
    fi
  done
}

# The starting corpus and what the run added, minimised into a fresh folder that replaces it.
merge_corpus() {
  local t=$1 exe=$2 work=$3
  local fresh="$work/merged"
  rm -rf "$fresh"
  mkdir -p "$fresh"
  if ! "$exe" -merge=1 -max_len="$4" "$fresh" "$repo/tests/fuzz/corpus/$t" "$work/corpus" \
    >"$work/merge.log" 2>&1 || [ -z "$(ls -A "$fresh")" ]; then
    echo "fuzz: $t: merge failed, corpus kept (log: $work/merge.log)" >&2
    return 1
  fi
  # The inputs of mended findings stay whether or not they add coverage: each is the test of
  # its mend.
  find "$repo/tests/fuzz/corpus/$t" -maxdepth 1 -name 'finding-*' -exec cp {} "$fresh/" \;
  rm -rf "$repo/tests/fuzz/corpus/$t"
  mv "$fresh" "$repo/tests/fuzz/corpus/$t"
  echo "fuzz: $t: corpus merged, $(find "$repo/tests/fuzz/corpus/$t" -type f | wc -l) files" >&2
}

# Runs one target; 0 when it left no artifact.
run_target() {
  local t=$1
  local exe="$build/tests/fuzz/sondix_fuzz_$t"
  local work="$build/fuzz-work/$t"
  mkdir -p "$work/corpus" "$work/artifacts"
  touch "$work/started"  # what an earlier run left (mended since) is not this run's finding
  # The sensor's long answers need room; a command line is a few dozen words, and longer ones
  # only repeat options (CLI11's cost, and "new coverage" from ever more repeats, grows with
  # them, so the run never settles).
  local max_len
  case $t in
    show_data | history) max_len=8192 ;;
    cli_options) max_len=512 ;;
    *) max_len=4096 ;;
  esac
  echo "fuzz: $t for ${plateau:+a plateau of $plateau s, at most }$seconds s" >&2
  # shellcheck disable=SC2086
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    nice -n "$niceness" "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len="$max_len" -dict="$repo/tests/fuzz/sensor.dict" \
      -artifact_prefix="$work/artifacts/" -print_final_stats=1 ${FUZZ_ARGS:-} \
      "$work/corpus" "$repo/tests/fuzz/corpus/$t" >"$work/fuzz.log" 2>&1 &
  local pid=$!
  [ -n "$plateau" ] && watch_plateau "$pid" "$work/fuzz.log"
  wait "$pid" || true
  { grep -aE '^#[0-9]+.*cov:' "$work/fuzz.log" || true; } | tail -n 1 >&2
  { grep -E '^stat::(number_of_executed_units|new_units_added)|oom/timeout/crash' \
      "$work/fuzz.log" || true; } | tail -n 2 >&2
  local found
  found=$(find "$work/artifacts" -type f -newer "$work/started" | sort)
  if [ -n "$found" ]; then
    echo "fuzz: $t left artifacts (log: $work/fuzz.log):" >&2
    echo "$found" >&2
    return 1
  fi
  [ "${FUZZ_MERGE:-}" = 1 ] && merge_corpus "$t" "$exe" "$work" "$max_len"
  return 0
}

# FUZZ_NO_BUILD=1 runs the targets already built (another run of this script beside a running
# one, with other targets, must not rebuild the binaries under it).
if [ "${FUZZ_NO_BUILD:-}" != 1 ]; then
  bash "$repo/scripts/install-deps.sh" "${packages[@]}"
  configure_and_build
fi
status=0
for t in "${targets[@]}"; do
  run_target "$t" || status=1
done
exit $status
