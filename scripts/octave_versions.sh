#!/bin/bash
# Builds the oct-files and runs the Octave tests under other Octave releases,
# each in a Debian chroot made with debootstrap (variant minbase):
#   scripts/octave_versions.sh trixie        Octave 9.x
#   scripts/octave_versions.sh trixie sid    and the newest Octave too
# For each release: the oct-files and the MEX modules for Octave built with
# the flags of mk/octave.mk (-Wall -Wextra -Werror), the Octave tests (as make
# test-octave), the exported symbols, the package's pkg install / pkg test
# (as tests/package/run.sh), and the parity of the two builds (as make
# parity). Prints the Octave and GCC versions and the time of
# each step, and ends in "N passed, M failed".
#
# The chroot is kept in BUILD/chroot/RELEASE and reused while it is valid
# (made to the end, for the same mirror and packages); FRESH=1 makes it anew
# (sid changes daily). /proc (and /dev, where debootstrap could not make the
# device nodes) is mounted in the chroot only inside a mount namespace of
# this script's own (unshare), as are debootstrap's own mounts, so no mount
# outlives a run, even a killed one, and none is ever seen outside. The source tree is copied into
# the chroot (without .git and BUILD): the chroot's build never touches the
# host's build/. Needs root and debootstrap (scripts/deps.sh).
#   BUILD   the build folder (build)
#   MIRROR  the Debian mirror (by default the Debian archive of this
#           machine's own apt sources: scripts/chroot_lib.sh)
#   JOBS    parallel compiles in the chroot (2)
#   FRESH   1: make the chroots anew
set -u
cd "$(dirname "$0")/.." || exit 1
. scripts/chroot_lib.sh
BUILD=${BUILD:-build}
JOBS=${JOBS:-2}
FRESH=${FRESH:-0}
# What the chroot gets besides minbase: Octave and its headers, the
# compiler, the BLAS and FFTW the modules link (libopenblas-dev gives the
# libblas.so of -lblas), gnuplot and fonts for the package's demos (drawn
# off screen).
PACKAGES="octave octave-dev g++ make libfftw3-dev libopenblas0-pthread libopenblas-dev
  gnuplot-nox fonts-dejavu-core fonts-freefont-otf"
PACKAGES=$(echo $PACKAGES)
# Where the source tree lies in the chroot.
SRC=/root/korvane

# ---------------------------------------------------------------------------
# Inside the chroot: build and test the copy in $SRC, print the versions and
# the time of each step as "time build 41.2" lines for the caller, and the
# counted lines of each test.
if [ "${1:-}" = "--inside" ]; then
  cd "$SRC" || exit 1
  export OCTAVE_HISTFILE=/dev/null
  out=$(mktemp)
  # Runs one counted step: its output, and "0 passed, 1 failed" when it
  # printed no count of its own.
  step() {
    local t0
    t0=$(now)
    echo "== $1"
    shift
    "$@" >"$out" 2>&1
    cat "$out"
    grep -qE "^[0-9]+ passed, [0-9]+ failed$" "$out" || echo "0 passed, 1 failed"
    echo "   ($(since "$t0") s)"
  }
  build() {
    if make --no-print-directory "$1" JOBS="$JOBS"; then
      echo "1 passed, 0 failed"
    else
      echo "build of make $1 failed"
    fi
  }
  exports() {
    if tests/check_exports.sh build/octave oct; then echo "1 passed, 0 failed"; fi
  }
  echo "version octave $(octave-cli --version | head -1 | sed 's/.*version //')"
  echo "version gcc $(g++ -dumpfullversion)"
  echo "version blas $(readlink -f /usr/lib/"$(gcc -dumpmachine)"/libblas.so.3)"
  t=$(now)
  step "Oct-files, with the flags of mk/octave.mk" build octave
  step "MEX modules for Octave, with the same flags" build octave-mex
  echo "time build $(since "$t")"
  t=$(now)
  step "Octave tests" make --no-print-directory test-octave JOBS="$JOBS"
  step "Exported symbols" exports
  # pkg install runs make in the package's src/: JOBS compiles at once.
  step "Octave package: build, install, pkg test, uninstall" env MAKEFLAGS=-j"$JOBS" tests/package/run.sh
  step "Parity of the oct-files with the MEX build for Octave" scripts/parity.sh build/octave build/octave-mex
  echo "time tests $(since "$t")"
  rm -f "$out"
  exit 0
fi

# ---------------------------------------------------------------------------
# On the host.
passed=0
failed=0
summary=()
log=$(mktemp)
trap 'rm -f "$log"' EXIT

fail_all() {
  echo "$1" >&2
  echo "0 passed, 1 failed"
  exit 1
}
[ "$#" -gt 0 ] || fail_all "usage: scripts/octave_versions.sh RELEASE..."
[ "$(id -u)" -eq 0 ] || fail_all "needs root (debootstrap, chroot, mount): run it as root"
command -v debootstrap >/dev/null || fail_all "debootstrap is not installed: run scripts/deps.sh"
command -v unshare >/dev/null || fail_all "unshare (util-linux) is not installed"

MIRROR=$(apt_mirror) || fail_all "no Debian mirror"

# Makes the chroot for RELEASE in ROOT, or keeps the one there when it is
# valid. Sets made_s and install_s (seconds, or "reused").
make_chroot() {
  local release=$1 root=$2 t base want
  base="$release $MIRROR minbase"
  want="$PACKAGES"
  made_s=reused
  install_s=reused
  if [ "$FRESH" = 1 ] || [ "$(cat "$root/.korvane-base" 2>/dev/null)" != "$base" ] \
    || ! chroot "$root" /bin/true 2>/dev/null; then
    echo "making the $release chroot in $root"
    t=$(now)
    bootstrap_root "$release" "$root" "$MIRROR" "$log" || return 1
    echo "$base" >"$root/.korvane-base"
    made_s=$(since "$t")
  fi
  if [ "$(cat "$root/.korvane-packages" 2>/dev/null)" != "$want" ] || [ ! -x "$root/usr/bin/octave-cli" ]; then
    echo "installing Octave in the $release chroot"
    rm -f "$root/.korvane-packages"
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null
    # Octave's headers are in octave-dev from Octave 9 on, in
    # liboctave-dev before.
    t=$(now)
    # shellcheck disable=SC2016
    # dpkg --configure -a: finishes an install that a killed run left.
    if ! enter "$root" /bin/sh -c 'dpkg --configure -a && apt-get update -qq || exit 1
        list=""
        for p in "$@"; do
          [ "$p" = octave-dev ] && ! apt-cache show octave-dev >/dev/null 2>&1 && p=liboctave-dev
          list="$list $p"
        done
        apt-get install -y -qq --no-install-recommends $list' sh $want >"$log" 2>&1; then
      tail -30 "$log"
      echo "installing the packages in the $release chroot failed"
      return 1
    fi
    echo "$want" >"$root/.korvane-packages"
    install_s=$(since "$t")
  fi
  return 0
}

# Adds the counts of every "N passed, M failed" line in the log.
count_lines() {
  local n=0 p f
  while read -r p _ f _; do
    passed=$((passed + p))
    failed=$((failed + f))
    n=$((n + 1))
  done < <(grep -E "^[0-9]+ passed, [0-9]+ failed$" "$log")
  return $((n == 0))
}

for release in "$@"; do
  echo "== Octave in Debian $release"
  root=$PWD/$BUILD/chroot/$release
  case "$BUILD" in /*) root=$BUILD/chroot/$release ;; esac
  if ! make_chroot "$release" "$root"; then
    failed=$((failed + 1))
    summary+=("$release: no chroot")
    continue
  fi
  # A fresh copy of the source tree, without .git and the build folders.
  rm -rf --one-file-system "$root$SRC"
  mkdir -p "$root$SRC"
  tar -C . --exclude=./.git --exclude="./$BUILD" --exclude=./build --exclude='./build-*' -cf - . \
    | tar -C "$root$SRC" -xf -
  enter "$root" JOBS="$JOBS" /bin/bash "$SRC/scripts/octave_versions.sh" --inside 2>&1 \
    | tee "$log" | grep --line-buffered -vE "^(version|time) "
  count_lines || failed=$((failed + 1))
  octave=$(sed -n 's/^version octave //p' "$log")
  gcc=$(sed -n 's/^version gcc //p' "$log")
  blas=$(sed -n 's/^version blas //p' "$log")
  build_s=$(sed -n 's/^time build //p' "$log")
  tests_s=$(sed -n 's/^time tests //p' "$log")
  summary+=("$release: Octave ${octave:-?}, GCC ${gcc:-?}, BLAS ${blas##*/} in ${blas%/*}; seconds: chroot $made_s, Octave install $install_s, build ${build_s:-?}, tests ${tests_s:-?}")
done

echo "== Releases"
for s in "${summary[@]}"; do echo "$s"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
