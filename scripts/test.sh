#!/bin/bash
# Builds everything and runs every test: the C++ tests through the test host
# (MATLAB's interleaved complex API) under AddressSanitizer and
# UndefinedBehaviorSanitizer, and again for the separate-complex API;
# the Octave tests against the oct-files; the parity of the oct-files with the
# MEX build for Octave; the Python package (pytest, and its parity with the
# oct-files); a MinGW-w64 cross-compile of every module. Ends in one
# summary line.
set -u
cd "$(dirname "$0")/.."
JOBS=${JOBS:-2}
BUILD=${BUILD:-build}
OCTAVE="octave-cli --no-gui --no-history --norc --quiet"
passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Starts a section: its heading, and how long the one before took.
section_start=
section() {
  [ -n "$section_start" ] && echo "   ($((SECONDS - section_start)) s)"
  section_start=$SECONDS
  [ $# -gt 0 ] && echo "== $1"
  return 0
}

# Adds the counts of a ctest run (its "x% tests passed, F tests failed out of T").
count_ctest() {
  local line
  line=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$log" | tail -1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    return
  fi
  local f t
  f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + t - f))
  failed=$((failed + f))
}

run_ctest() {
  local dir=$1
  shift
  section "C++ tests in $dir"
  if ! cmake -S . -B "$dir" "$@" >/dev/null || ! cmake --build "$dir" -j"$JOBS" >"$log" 2>&1; then
    cat "$log"
    echo "build failed in $dir"
    failed=$((failed + 1))
    return
  fi
  ctest --test-dir "$dir" -j"$JOBS" --output-on-failure ${CTEST_EXCLUDE:+-E "$CTEST_EXCLUDE"} >"$log" 2>&1
  grep -vE "^ +Start |Test +#[0-9]+: .* Passed" "$log"
  count_ctest
}

# The C++ tests run twice: under the sanitizers with the interleaved complex
# API (clang, also the fuzzer's build, when clang is there), and in a plain
# gcc build with the separate-complex API. Pure computations are the same in
# both, so the long accuracy tests run in the plain build only.
# (make test-cpp: the plain build with the interleaved API.)
slow_accuracy="Mode.GradedIndexFamilies|TurbScreen.EnsemblesMatchTheoryAndTheirExpectation"
if command -v clang++ >/dev/null; then
  CTEST_EXCLUDE=$slow_accuracy run_ctest "$BUILD/asan" -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_FUZZ=ON
else
  CTEST_EXCLUDE=$slow_accuracy run_ctest "$BUILD/asan" -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON
fi
run_ctest "$BUILD/separate" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_SEPARATE_COMPLEX=ON

# Adds the counts of a closing "N passed, M failed" line in the log.
count_plain() {
  local line
  line=$(grep -E "^[0-9]+ passed, [0-9]+ failed$" "$log" | tail -1)
  if [ -n "$line" ]; then
    passed=$((passed + $(cut -d' ' -f1 <<<"$line")))
    failed=$((failed + $(cut -d' ' -f3 <<<"$line")))
  else
    failed=$((failed + 1))
  fi
}

section "Octave tests"
if make --no-print-directory octave BUILD="$BUILD" JOBS="$JOBS" >"$log" 2>&1; then
  $OCTAVE --eval "addpath('$PWD/$BUILD/octave'); addpath('tests/octave'); exit(run_tests('tests/octave'))" \
    2>&1 | tee "$log"
  count_plain
  if tests/check_exports.sh "$BUILD/octave" oct; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
else
  cat "$log"
  echo "Octave build failed"
  failed=$((failed + 1))
fi

# Runs a script that ends with "N passed, M failed" and adds its counts.
run_counted() {
  section "$1"
  shift
  "$@" 2>&1 | tee "$log"
  count_plain
}
run_counted "Octave package: build, install, pkg test, uninstall" env BUILD="$BUILD" tests/package/run.sh
run_counted "Manual and Contents.m" env BUILD="$BUILD" tests/package/doc.sh
run_counted "Parallel sweeps" env BUILD="$BUILD" tests/package/sweep.sh
run_counted "Monte Carlo: serial, parcellfun, two pserver processes" env BUILD="$BUILD" tests/package/montecarlo.sh
run_counted "Ctrl-C in an interactive Octave session" env BUILD="$BUILD" tests/package/interrupt.sh
run_counted "The chroots' Debian mirror, from the apt sources" tests/package/apt_mirror.sh

section "Parity of the oct-files with the MEX build for Octave"
if make --no-print-directory octave-mex BUILD="$BUILD" JOBS="$JOBS" >"$log" 2>&1; then
  scripts/parity.sh "$BUILD/octave" "$BUILD/octave-mex" 2>&1 | tee "$log"
  count_plain
else
  cat "$log"
  echo "Octave MEX build failed"
  failed=$((failed + 1))
fi

section "Python: the package built and installed into a venv, pytest against it"
if make --no-print-directory python BUILD="$BUILD" JOBS="$JOBS" >"$log" 2>&1; then
  scripts/test_python.sh "$BUILD/python/venv/bin/python" 2>&1 | tee "$log"
  count_plain
  section "Parity of the Python package with the oct-files"
  scripts/parity_python.sh "$BUILD/octave" "$BUILD/python/venv/bin/python" 2>&1 | tee "$log"
  count_plain
else
  cat "$log"
  echo "Python build failed"
  failed=$((failed + 1))
fi

section "MinGW-w64 cross-compile of every module"
if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  if scripts/mingw_check.sh "$BUILD/mingw" >"$log" 2>&1; then
    tail -1 "$log"
    passed=$((passed + 1))
  else
    cat "$log"
    failed=$((failed + 1))
  fi
else
  echo "x86_64-w64-mingw32-g++ not installed: skipped"
fi

section "Fuzzer: the corpus replayed, then a 30-second campaign of two workers"
if command -v clang++ >/dev/null; then
  for mode in replay 30; do
    FUZZ_JOBS=$JOBS FUZZ_DIR="$BUILD/asan" BUILD="$BUILD" JOBS="$JOBS" scripts/fuzz.sh "$mode" >"$log" 2>&1
    tail -3 "$log"
    count_plain
  done
else
  echo "clang++ not installed: skipped"
fi

section
echo "all sections: $SECONDS s"
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
