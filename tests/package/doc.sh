#!/bin/sh
# Writes the manual into a throw-away folder (with the pictures build/demo
# has, if any) and checks every link of it, and that matlab/Contents.m is
# up to date; then runs the performance measurement in its quick form on the
# oct-files of BUILD (default build) and writes the manual's performance
# page from it. Ends in "N passed, M failed".
cd "$(dirname "$0")/../.."
OCTAVE=${OCTAVE:-octave-cli --no-gui --no-history --norc --quiet}
BUILD=${BUILD:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
pass=0
fail=0
if $OCTAVE --eval "addpath('$PWD/doc'); make_doc('$out', '')"; then
  pass=$((pass + 1))
  if tests/package/linkcheck.sh "$out"; then pass=$((pass + 1)); else fail=$((fail + 1)); fi
else
  echo "make_doc failed"
  fail=$((fail + 1))
fi
# Without a measurement of this machine, the page shows the reference
# measurement and says plainly where its figures come from.
if [ -f doc/bench-reference.txt ]; then
  if grep -q "Not measured on this machine: these figures come from the reference measurement" "$out/performance.html" &&
    [ "$(grep -c "<svg" "$out/performance.html")" -eq 4 ]; then
    pass=$((pass + 1))
  else
    echo "the performance page does not show the reference measurement"
    fail=$((fail + 1))
  fi
fi
# Every picture make demo drew has its caption beside it and its place in
# the gallery, the Python examples' too.
if [ -f "$out/gallery.html" ] && ls build/demo/*.png >/dev/null 2>&1; then
  missing=
  for png in build/demo/*.png; do
    name=${png##*/}
    [ -s "${png%.png}.txt" ] || missing="$missing $name (no caption)"
    grep -q "src=\"img/$name\"" "$out/gallery.html" || missing="$missing $name (not in the gallery)"
  done
  if [ -z "$missing" ]; then
    pass=$((pass + 1))
  else
    echo "pictures of build/demo:$missing"
    fail=$((fail + 1))
  fi
fi
if scripts/contents.sh --check; then pass=$((pass + 1)); else fail=$((fail + 1)); fi
# The measured page: every section filled, no section left with its note.
if [ -f "$BUILD/octave/KVFftw.oct" ]; then
  mkdir -p "$out/measured"
  if $OCTAVE --eval "addpath('$PWD/$BUILD/octave'); addpath('$PWD/bench'); bench_doc('$out/bench.txt', 'quick');" >"$out/bench.log" 2>&1 &&
    $OCTAVE --eval "addpath('$PWD/doc'); make_doc('$out/measured', '$out/bench.txt')" >/dev/null &&
    grep -q "KVFresnelFFT" "$out/measured/performance.html" &&
    ! grep -q "Not measured on this machine" "$out/measured/performance.html" &&
    [ "$(grep -c "<svg" "$out/measured/performance.html")" -eq 4 ]; then
    pass=$((pass + 1))
  else
    cat "$out/bench.log"
    echo "the performance page from a quick measurement failed"
    fail=$((fail + 1))
  fi
else
  echo "no oct-files in $BUILD/octave: the measured performance page is not checked"
fi
echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ]
