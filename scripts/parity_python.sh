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
# With the default settings, as a user runs them: the two processes must
# give the same bits (FFTW's default planner level makes the same plans in
# every process). A planner level or thread count set outside is not used.
unset KORVANE_FFTW_PLANNER KORVANE_NUM_THREADS
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
if ! $OCTAVE --eval "addpath('$oct'); addpath('$PWD/tests/octave/parity'); parity_zoo('', '$tmp/zoo.bin');" \
  >"$tmp/octave.log" 2>&1; then
  cat "$tmp/octave.log"
  echo "0 passed, 1 failed"
  exit 1
fi
"$PY" tests/python/parity_check.py "$tmp/zoo.bin"
