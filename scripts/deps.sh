#!/bin/bash
# Installs the Debian packages the build, the demo and the tests need, when
# they are missing. Needs root for apt-get; otherwise says what to install.
set -e
packages=(octave liboctave-dev cmake g++ make libgtest-dev googletest libblas-dev libfftw3-dev
          g++-mingw-w64-x86-64 octave-parallel clang libclang-rt-14-dev gnuplot-nox
          fonts-dejavu-core fonts-freefont-otf)
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
