#!/bin/bash
# Ctrl-C in an interactive Octave session: octave-cli reads its commands from
# a pipe, sets a variable, starts one long call (a single command that runs
# for many seconds), and gets SIGINT a second into it. The prompt must come
# back soon (the next command is read only then), the variable must be
# intact, the interrupted call's result unassigned, and the session usable
# (a further call succeeds). Against the modules in BUILD/octave. Ends in
# "N passed, M failed".
set -u
cd "$(dirname "$0")/../.." || exit 1
BUILD=${BUILD:-build}
OCTAVE_HISTFILE=/dev/null
export OCTAVE_HISTFILE
# The time from SIGINT to the prompt, bound generously so as not to flake on
# a loaded machine; bench/interrupt_latency.py measures it.
LIMIT=${INTERRUPT_LIMIT:-5}
passed=0
failed=0
check() {
  if [ "$1" = 0 ]; then
    passed=$((passed + 1))
    echo "ok: $2"
  else
    failed=$((failed + 1))
    echo "FAILED: $2"
  fi
}

dir=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
mkfifo "$dir/in"
octave-cli --no-gui --no-history --norc --quiet --interactive <"$dir/in" >>"$dir/out" 2>&1 &
pid=$!
exec 3>"$dir/in"

# Waits up to $2 seconds for the text $1 in Octave's output.
wait_for() {
  local end=$((SECONDS + $2))
  while [ $SECONDS -lt "$end" ]; do
    grep -qF -- "$1" "$dir/out" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

# Long calls, each of many seconds: direct integration from 2048 x 2048
# samples onto as many (twice in a row), a hundred thousand steps through
# glass, a matrix transform onto 4096 x 4096, and the 21st mode of a wide
# core.
calls=(
  "y = KVForward(0.5, 4e-3, 2048, F);"
  "y = KVForward(0.5, 4e-3, 2048, F);"
  "y = KVMedium(1, 100000, 1.5, F);"
  "y = KVFraunhofer(0.5, 4e-3, 4096, F);"
  "y = KVMode(n, 20, F);"
)
echo "addpath('$PWD/$BUILD/octave'); x = magic(4); F = KVBegin(4e-3, 1e-6, 2048);" \
  "n = 1.45 + 0.005 * KVIntensity(0, KVCircAperture(3e-4, 0, 0, F)); disp('ready')" >&3
wait_for ready 60
check $? "session started"

k=0
for call in "${calls[@]}"; do
  k=$((k + 1))
  echo "clear y; $call disp('finished $k')" >&3
  sleep 1
  start=$(date +%s.%N)
  kill -INT "$pid"
  echo "disp(['back ' num2str($k)])" >&3
  wait_for "back $k" 60
  ok=$?
  end=$(date +%s.%N)
  # awk, not bc: a fresh machine has no bc.
  t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
  printf '%s: prompt back %.2f s after SIGINT\n' "$call" "$t"
  grep -qF "finished $k" "$dir/out"
  check $((1 - $?)) "$call was interrupted"
  check $([ $ok = 0 ] && awk -v t="$t" -v l="$LIMIT" 'BEGIN { exit !(t < l) }' && echo 0 || echo 1) \
    "prompt back within $LIMIT s"
  echo "disp(['unassigned ' num2str(exist('y', 'var'))]); disp(['intact ' num2str(isequal(x, magic(4)))])" >&3
  wait_for "intact" 30
  grep -qF "unassigned 0" "$dir/out"
  check $? "no result assigned"
  grep -qF "intact 1" "$dir/out"
  check $? "variable intact"
  # Drop what was read, so the next round's markers are new.
  : >"$dir/out"
done

# The session goes on: a call completes and gives its result.
echo "z = KVIntensity(0, KVBegin(1e-3, 1e-6, 64)); disp(['done ' num2str(size(z, 1))])" >&3
wait_for "done 64" 60
check $? "the session still computes"
echo "exit" >&3
exec 3>&-
wait "$pid" 2>/dev/null
pid=
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
