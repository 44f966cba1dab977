#!/bin/sh
# Writes the manual into a throw-away folder (with the pictures build/demo
# has, if any) and checks every link of it, and that matlab/Contents.m is
# up to date. Ends in "N passed, M failed".
cd "$(dirname "$0")/../.."
OCTAVE=${OCTAVE:-octave-cli --no-gui --no-history --norc --quiet}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
pass=0
fail=0
if $OCTAVE --eval "addpath('$PWD/doc'); make_doc('$out')"; then
  pass=$((pass + 1))
  if tests/package/linkcheck.sh "$out"; then pass=$((pass + 1)); else fail=$((fail + 1)); fi
else
  echo "make_doc failed"
  fail=$((fail + 1))
fi
if scripts/contents.sh --check; then pass=$((pass + 1)); else fail=$((fail + 1)); fi
echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ]
