#!/bin/bash
# Installs the Debian packages the build, the demo, the tests and the
# benchmarks need, when they are missing: the one list of them (make demo,
# make test and CI all come here). Needs root for apt-get; otherwise says what
# to install. `scripts/deps.sh --list` prints the list.
set -e
packages=(
  # Octave and the oct-file build
  octave liboctave-dev make g++
  # the BLAS and FFT libraries: OpenBLAS, selected through Debian's
  # alternatives in place of the reference BLAS (ten times slower)
  libblas-dev libopenblas0-pthread libopenblas-dev libfftw3-dev
  # pictures of the demo, without a display
  gnuplot-nox fonts-dejavu-core fonts-freefont-otf
  # the C++ tests, the fuzzer, the benchmarks and the Windows cross-compile
  cmake libgtest-dev googletest clang libclang-rt-14-dev libbenchmark-dev g++-mingw-w64-x86-64
  # the parallel sweeps; the Monte Carlo test's private network for its
  # two cluster servers (ip)
  octave-parallel iproute2
  # the Python package (pip install . in a venv of Debian's python3), its
  # tests and its examples
  python3-dev python3-venv python3-numpy python3-mesonpy meson ninja-build pkg-config
  python3-pytest python3-matplotlib
  # the chroots of make test-octave-versions (Octave 9 and 11)
  debootstrap
)
if [ "${1:-}" = "--list" ]; then
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
