#!/bin/bash
# The libFuzzer harness over the test host (tests/fuzz), built with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer in $FUZZ_DIR (default
# $BUILD/fuzz; make test uses its sanitizer build, $BUILD/asan).
#   scripts/fuzz.sh [seconds]   a campaign (default 600 s) from the checked-in
#                               corpus; new inputs go to $BUILD/fuzz/corpus,
#                               findings to $BUILD/fuzz/findings
#   scripts/fuzz.sh replay      every checked-in input once (a regression test)
# FUZZ_JOBS processes (default 1). Ends with "N passed, M failed".
set -u
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
JOBS=${JOBS:-2}
FUZZ_JOBS=${FUZZ_JOBS:-1}
DIR=${FUZZ_DIR:-$BUILD/fuzz}
mode=${1:-600}

if ! command -v clang++ >/dev/null; then
  echo "clang++ not installed (apt-get install clang libclang-rt-14-dev)"
  echo "0 passed, 1 failed"
  exit 1
fi
if ! cmake -S . -B "$DIR" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKV_FUZZ=ON >/dev/null || ! cmake --build "$DIR" -j"$JOBS" --target kv_fuzz >"$DIR.log" 2>&1; then
  cat "$DIR.log" 2>/dev/null
  echo "fuzzer build failed"
  echo "0 passed, 1 failed"
  exit 1
fi

export ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Absolute paths only: the harness works in a temporary folder of its own.
root=$PWD
case $DIR in /*) ;; *) DIR=$root/$DIR ;; esac
common=(-dict="$root/tests/fuzz/kv.dict" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

if [ "$mode" = replay ]; then
  # Replays each input once; any finding aborts the run.
  if "$DIR/kv_fuzz" "${common[@]}" -artifact_prefix="$DIR/" -runs=0 "$root/tests/fuzz/corpus" >"$DIR/replay.log" 2>&1; then
    n=$(ls tests/fuzz/corpus | wc -l)
    echo "fuzz corpus replayed: $n inputs"
    echo "1 passed, 0 failed"
    exit 0
  fi
  tail -40 "$DIR/replay.log"
  echo "0 passed, 1 failed"
  exit 1
fi

mkdir -p "$DIR/corpus" "$DIR/findings"
rm -f "$DIR"/campaign*.log
# FUZZ_JOBS processes side by side, each with its own seed and log, sharing
# the corpus folder (the harness works in a temporary folder of its own, so
# every path is absolute).
pids=()
for j in $(seq 1 "$FUZZ_JOBS"); do
  "$DIR/kv_fuzz" "${common[@]}" -max_total_time="$mode" -seed="$j" \
    -artifact_prefix="$DIR/findings/" "$DIR/corpus" "$root/tests/fuzz/corpus" \
    >"$DIR/campaign-$j.log" 2>&1 &
  pids+=($!)
done
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
cat "$DIR"/campaign-*.log >"$DIR/campaign.log"
total=$(grep -h "stat::number_of_executed_units" "$DIR"/campaign-*.log | awk '{s += $2} END {print s + 0}')
echo "stat::number_of_executed_units: $total (in $FUZZ_JOBS processes)"
if [ $status -eq 0 ] && ! ls "$DIR/findings" | grep -q .; then
  echo "fuzz campaign of $mode s: no finding"
  echo "1 passed, 0 failed"
  exit 0
fi
grep -E "FINDING|ERROR|SUMMARY|runtime error" "$DIR/campaign.log" | head -20
echo "findings in $DIR/findings"
echo "0 passed, 1 failed"
exit 1
