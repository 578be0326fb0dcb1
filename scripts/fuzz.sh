#!/usr/bin/env bash
# Builds the libFuzzer targets under fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, replays the regression inputs under
# fuzz/regressions/<target>/ and then fuzzes each target in turn.
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
# New corpus entries go to build-fuzz/corpus/<target> (the committed seeds
# under fuzz/corpus/<target> are only read); crashes to build-fuzz/crashes.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_FUZZ=ON \
  -DQUORVEL_SANITIZE=ON -DBUILD_TESTING=OFF -DQUORVEL_BENCH=OFF >/dev/null || exit 2
cmake --build build-fuzz -j "$(nproc)" || exit 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*Fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
# The targets write their working files there; memory is quicker than disk.
if [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/crashes
status=0
regressed=0
passed=0
failed=0
for t in "${targets[@]}"; do
  corpus=$(echo "${t%Fuzz}" | tr '[:upper:]' '[:lower:]')
  seeds=fuzz/corpus/$corpus
  work=build-fuzz/corpus/$corpus
  mkdir -p "$work"
  before=$status
  if [ -d "fuzz/regressions/$corpus" ] && [ -n "$(ls -A "fuzz/regressions/$corpus")" ]; then
    echo "== $t: regression inputs"
    "build-fuzz/fuzz/$t" -runs=0 fuzz/regressions/"$corpus"/* >"build-fuzz/$t.regressions.log" 2>&1 ||
      { status=1; regressed=1; tail -n 60 "build-fuzz/$t.regressions.log"; }
  fi
  echo "== $t: fuzzing for $seconds s"
  "build-fuzz/fuzz/$t" -max_total_time="$seconds" -max_len=4096 -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix=build-fuzz/crashes/"$t"- "$work" "$seeds" >"build-fuzz/$t.log" 2>&1 ||
    { status=1; tail -n 60 "build-fuzz/$t.log"; }
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+ +DONE" "build-fuzz/$t.log" || true
  if [ "$status" = "$before" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done
echo "fuzz: $passed passed, $failed failed"
# 2: a kept crashing input crashes again; 1: only fresh exploration found something.
if [ "$regressed" = 1 ]; then exit 2; fi
exit $status
