#!/bin/bash
# Installs the Debian packages the project needs, when they are missing: the
# one list of them (make demo, make test and CI all come here), in two parts.
#   scripts/deps.sh demo         what make demo needs: the Octave and Python
#                                builds, the pictures, the parallel examples
#   scripts/deps.sh [all]        that and what the tests and the benchmarks
#                                need (make test, CI)
#   scripts/deps.sh --list [demo|all]   prints the list (all by default)
# Needs root for apt-get; otherwise says what to install.
set -e
demo=(
  # Octave and the oct-file build
  octave liboctave-dev make g++
  # the BLAS and FFT libraries: OpenBLAS, selected through Debian's
  # alternatives in place of the reference BLAS (ten times slower)
  libblas-dev libopenblas0-pthread libopenblas-dev libfftw3-dev
  # pictures of the demo, without a display
  gnuplot-nox fonts-dejavu-core fonts-freefont-otf
  # the parallel Monte Carlo, from Octave (parcellfun) and from Python (dask)
  octave-parallel python3-distributed
  # the Python package (pip install . in a venv of Debian's python3) and its
  # examples
  python3-dev python3-venv python3-numpy python3-mesonpy meson ninja-build pkg-config
  python3-matplotlib
)
tests=(
  # the C++ tests, the fuzzer, the benchmarks and the Windows cross-compile
  cmake libgtest-dev googletest clang libclang-rt-14-dev libbenchmark-dev g++-mingw-w64-x86-64
  # the Monte Carlo test's private network for its two cluster servers (ip)
  iproute2
  # the Python tests
  python3-pytest
  # the chroots of make test-octave-versions and make test-fresh-root
  debootstrap
)

list=all
if [ "${1:-}" = "--list" ]; then
  list=${2:-all}
  listing=1
else
  list=${1:-all}
  listing=0
fi
case $list in
  demo) packages=("${demo[@]}") ;;
  all) packages=("${demo[@]}" "${tests[@]}") ;;
  *)
    echo "usage: scripts/deps.sh [--list] [demo|all]" >&2
    exit 2
    ;;
esac
if [ "$listing" = 1 ]; then
  echo "${packages[@]}"
  exit 0
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
