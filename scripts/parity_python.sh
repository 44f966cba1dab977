#!/bin/bash
# The parity zoo of tests/octave/parity run through the oct-files in Octave
# and, with the same arguments, through the installed Python package; the
# values are compared bit for bit and the messages and identifiers as text
# (tests/python/parity_check.py). Ends with "N passed, M failed".
#   scripts/parity_python.sh OCT_BUILD PYTHON
set -u
cd "$(dirname "$0")/.."
oct=$(realpath "$1")
PY=$2
OCTAVE="octave-cli --no-gui --no-history --norc --quiet"
# Measured FFTW plans are chosen by timing, so two processes may choose
# different ones; plans by estimate are the same in both.
export KORVANE_FFTW_PLANNER=estimate
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
if ! $OCTAVE --eval "addpath('$oct'); addpath('$PWD/tests/octave/parity'); parity_zoo('', '$tmp/zoo.bin');" \
  >"$tmp/octave.log" 2>&1; then
  cat "$tmp/octave.log"
  echo "0 passed, 1 failed"
  exit 1
fi
"$PY" tests/python/parity_check.py "$tmp/zoo.bin"
