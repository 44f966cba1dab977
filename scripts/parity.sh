#!/bin/bash
# Runs the argument zoo of tests/octave/parity through two builds of the
# commands, each in its own Octave, and compares what they printed, raised
# and returned. Ends with "N passed, M failed".
#   scripts/parity.sh BUILD_A BUILD_B
set -u
cd "$(dirname "$0")/.."
a=$(realpath "$1")
b=$(realpath "$2")
OCTAVE="octave-cli --no-gui --no-history --norc --quiet"
# With the default settings, as a user runs them: the two processes must
# give the same bits (FFTW's default planner level makes the same plans in
# every process). A planner level or thread count set outside is not used.
unset KORVANE_FFTW_PLANNER KORVANE_NUM_THREADS
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for side in a b; do
  dir=${!side}
  $OCTAVE --eval "addpath('$dir'); addpath('$PWD/tests/octave/parity'); parity_zoo('$tmp/$side.bin');" \
    >"$tmp/$side.log" 2>&1 || { cat "$tmp/$side.log"; echo "0 passed, 1 failed"; exit 1; }
done
$OCTAVE --eval "addpath('$PWD/tests/octave/parity'); exit(parity_compare('$tmp/a.bin', '$tmp/b.bin'))"
