#!/bin/sh
# Parallel sweeps equal serial ones (tests/package/sweep_check.m), against
# the modules in BUILD/octave. Ends in "N passed, M failed".
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
OCTAVE=${OCTAVE:-octave-cli --no-gui --no-history --norc --quiet}
exec $OCTAVE --eval "addpath('$PWD/$BUILD/octave'); addpath('$PWD/tests/package'); exit(sweep_check())"
