#!/bin/bash
# The README's two commands on a fresh machine: makes a new minimal Debian
# root with debootstrap (RELEASE, default bookworm; variant minbase and
# make, nothing else), copies a clean clone of this repository's HEAD into
# it (what is committed, no build folder), and runs there, as root in a
# fresh home without a locale (LANG unset, as on a new machine):
#   make demo     then     make test
# Prints the time and the exit status of each, the last lines of the
# demo, the summary line of make test, and how often the two known
# complaints of a fresh machine appear in the output (gnuplot's "iconv
# failed" without a UTF-8 locale, Octave's "execution_exception" at exit
# without a history folder): both should be 0. The whole output of each
# command is in BUILD/fresh-root/demo.log and test.log. Ends in "N passed,
# M failed" (the two commands and the two counts).
#
# Slow (the packages are fetched and the whole test suite runs: 15 minutes
# and more on two cores) and run by hand: make test-fresh-root. Needs root,
# debootstrap and unshare; the root is made anew every run in
# BUILD/chroot/fresh-RELEASE (about 5 GB) and kept for a look afterwards
# (KEEP=0 removes it at the end). The mirror is MIRROR or the Debian archive
# of this machine's apt sources (scripts/chroot_lib.sh).
set -u
cd "$(dirname "$0")/.." || exit 1
. scripts/chroot_lib.sh
BUILD=${BUILD:-build}
JOBS=${JOBS:-2}
KEEP=${KEEP:-1}
RELEASE=${1:-bookworm}
SRC=/root/korvane

fail_all() {
  echo "$1" >&2
  echo "0 passed, 1 failed"
  exit 1
}
[ "$(id -u)" -eq 0 ] || fail_all "needs root (debootstrap, chroot, mount): run it as root"
command -v debootstrap >/dev/null || fail_all "debootstrap is not installed: run scripts/deps.sh"
command -v unshare >/dev/null || fail_all "unshare (util-linux) is not installed"
command -v git >/dev/null || fail_all "git is not installed"
MIRROR=$(apt_mirror) || fail_all "no Debian mirror"

case "$BUILD" in
  /*) out=$BUILD/fresh-root ;;
  *) out=$PWD/$BUILD/fresh-root ;;
esac
root=$(dirname "$out")/chroot/fresh-$RELEASE
mkdir -p "$out"
rm -f "$out"/*.log

echo "== A new Debian $RELEASE root in $root"
t=$(now)
bootstrap_root "$RELEASE" "$root" "$MIRROR" "$out/debootstrap.log" make || fail_all "no root"
echo "   ($(since "$t") s)"

echo "== A clean clone of $(git rev-parse --short HEAD) in $SRC"
git clone --quiet --no-hardlinks "$PWD" "$root$SRC" || fail_all "git clone failed"

passed=0
failed=0
# Runs one README command in the root, its output into LOG; prints its time.
readme_command() {
  local what=$1 log=$2 t status
  echo "== make $what"
  t=$(now)
  ENTER_LANG='' enter "$root" /bin/bash -c "cd $SRC && make $what JOBS=$JOBS" >"$log" 2>&1
  status=$?
  echo "   make $what: $(since "$t") s, exit status $status"
  if [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
  return "$status"
}
readme_command demo "$out/demo.log"
tail -4 "$out/demo.log" | sed 's/^/   | /'
readme_command test "$out/test.log"
grep -E "^total: " "$out/test.log" | tail -1 | sed 's/^/   /'
grep -qE "^total: [0-9]+ passed, 0 failed$" "$out/test.log" || tail -20 "$out/test.log" | sed 's/^/   | /'

for pattern in "iconv failed" "execution_exception"; do
  n=$(cat "$out/demo.log" "$out/test.log" | grep -c "$pattern")
  echo "   \"$pattern\" in the output: $n times"
  if [ "$n" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done

if [ "$KEEP" = 0 ]; then
  remove_tree "$root"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
