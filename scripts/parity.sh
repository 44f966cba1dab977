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
# FFTW plans made by measuring may differ between two processes, and with
# them the last bits of the FFT propagators; plans by estimate do not.
export KORVANE_FFTW_PLANNER=estimate
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for side in a b; do
  dir=${!side}
  $OCTAVE --eval "addpath('$dir'); addpath('$PWD/tests/octave/parity'); parity_zoo('$tmp/$side.bin');" \
    >"$tmp/$side.log" 2>&1 || { cat "$tmp/$side.log"; echo "0 passed, 1 failed"; exit 1; }
done
$OCTAVE --eval "addpath('$PWD/tests/octave/parity'); exit(parity_compare('$tmp/a.bin', '$tmp/b.bin'))"
