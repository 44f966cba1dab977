#!/bin/bash
# The Debian mirror of the chroots (apt_mirror in scripts/chroot_lib.sh),
# read from apt sources written here under a scratch root: the one-line and
# the deb822 formats, options in brackets, comments, security and updates
# suites, disabled entries, source-only entries, other archives, and MIRROR
# set by the user. Ends in "N passed, M failed".
set -u
cd "$(dirname "$0")/../.." || exit 1
lib=$PWD/scripts/chroot_lib.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0
failed=0

# A root named $1 with /etc/os-release of codename $2; the rest of the
# arguments are file=content pairs under its etc/apt.
make_root() {
  local root=$tmp/$1 codename=$2
  shift 2
  mkdir -p "$root/etc/apt/sources.list.d"
  echo "VERSION_CODENAME=$codename" >"$root/etc/os-release"
  while [ "$#" -gt 0 ]; do
    printf '%s\n' "${1#*=}" >"$root/etc/apt/${1%%=*}"
    shift
  done
}

# check WHAT ROOT EXPECTED [MIRROR]: EXPECTED is the URI, or "" for none
# (then apt_mirror must fail and say why).
check() {
  local what=$1 root=$tmp/$2 want=$3 got status
  got=$(APT_ROOT=$root MIRROR=${4:-} bash -c ". '$lib'; apt_mirror" 2>"$tmp/err")
  status=$?
  if { [ -n "$want" ] && [ "$status" -eq 0 ] && [ "$got" = "$want" ]; } \
    || { [ -z "$want" ] && [ "$status" -ne 0 ] && [ -z "$got" ] && grep -q MIRROR "$tmp/err"; }; then
    passed=$((passed + 1))
    echo "  ok    $what"
  else
    failed=$((failed + 1))
    echo "  FAIL  $what: got '$got' (status $status), want '${want:-none}'"
  fi
}

make_root deb822 bookworm "sources.list.d/debian.sources=Types: deb
URIs: http://security.example/debian-security
Suites: bookworm-security
Components: main

# a comment
Types: deb-src deb
URIs: http://archive.example/debian/
Suites: bookworm bookworm-updates
Components: main" "sources.list.d/node.sources=Types: deb
URIs: https://other.example/node
Suites: nodistro
Components: main"
check "deb822: the release suite's archive, not security, trailing slash dropped" deb822 http://archive.example/debian

make_root oneline bookworm "sources.list=# deb http://commented.example/debian bookworm main
deb [arch=amd64 signed-by=/k.gpg] http://security.example/debian-security bookworm-security main
  deb [ arch=amd64 ] http://line.example/debian bookworm main contrib # a comment
deb http://later.example/debian bookworm main"
check "one-line: options and comments skipped, the first archive wins" oneline http://line.example/debian

make_root listdir trixie "sources.list.d/a.list=deb http://other.example/repo stable-backports main
deb http://listdir.example/debian sid main" "sources.list.d/b.list.disabled=deb http://no.example/debian trixie main"
check "sources.list.d/*.list; a Debian suite other than the host's; other file names ignored" \
  listdir http://listdir.example/debian

make_root none bookworm "sources.list.d/x.sources=Types: deb
URIs: http://disabled.example/debian
Suites: bookworm
Enabled: no

Types: deb-src
URIs: http://source.example/debian
Suites: bookworm"
check "a disabled entry and a source-only entry: no mirror, and it says to set MIRROR" none ""
make_root empty bookworm
check "no apt sources at all: no mirror" empty ""
check "MIRROR set by the user wins" deb822 http://user.example/debian http://user.example/debian/

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
