#!/bin/sh
# Builds the Octave package (make dist), installs it into a throw-away
# prefix, checks it (tests/package/pkg_check.m) and uninstalls it. Ends in
# "N passed, M failed".
set -u
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
OCTAVE=${OCTAVE:-octave-cli --no-gui --no-history --norc --quiet}
log=$(mktemp)
root=$(mktemp -d)
trap 'rm -rf "$root" "$log"' EXIT
if ! BUILD=$BUILD scripts/dist.sh >"$log" 2>&1; then
  cat "$log"
  echo "0 passed, 1 failed"
  exit 1
fi
tarball=$PWD/$(tail -1 "$log")
here=$PWD
cd "$root" && $OCTAVE --eval "addpath('$here/tests/package'); exit(pkg_check('$tarball', '$root'))"
