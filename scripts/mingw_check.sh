#!/bin/bash
# Cross-compiles every command for 64-bit Windows with MinGW-w64 against the
# test host's mex.h (MATLAB's interleaved API), and links each module against
# stand-in import libraries for libmx/libmex, MATLAB's BLAS (zgemm, no
# trailing underscore on Windows) and FFTW. Nothing runs: it shows that the
# Windows path compiles and links.
#   scripts/mingw_check.sh OUTDIR   (MINGW_JOBS compilers at once, default 2)
set -eu
cd "$(dirname "$0")/.."
out=${1:-build/mingw}
CXX=${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
CC=${MINGW_CC:-x86_64-w64-mingw32-gcc-posix}
mkdir -p "$out/obj" "$out/include" "$out/lib"
cp /usr/include/fftw3.h "$out/include/" 2>/dev/null || true
flags=(-O0 -std=c++17 -Wall -Wextra -Werror -Isrc -Ihost -I"$out/include"
       -DKV_HAVE_BLAS -DKV_BLAS_INT=int64_t)

# Stand-ins: every function mex.h declares, zgemm, dgemm, and the FFTW functions the
# sources call, each a C symbol in one DLL with its import library.
{
  sed -nE 's/^[a-zA-Z_][a-zA-Z0-9_ *]*[ *](mx[A-Za-z]+|mex[A-Za-z]+)\(.*/\1/p' host/mex.h
  echo zgemm; echo dgemm
  grep -ohE '\bfftw_[a-z0-9_]+\(' src -r | tr -d '(' 
} | sort -u | awk '{ printf "__declspec(dllexport) void %s(void) {}\n", $1 }' > "$out/stubs.c"
$CC -shared -o "$out/lib/korvane_stubs.dll" "$out/stubs.c" -Wl,--out-implib,"$out/lib/libkorvane_stubs.a"

pids=()
objs=()
for f in $(ls src/*/*.cpp | grep -v -e '^src/commands/' -e 'host_oct.cpp'); do
  o="$out/obj/$(echo "$f" | tr / _).o"
  objs+=("$o")
  $CXX "${flags[@]}" -c "$f" -o "$o" &
  pids+=($!)
  if [ ${#pids[@]} -ge "${MINGW_JOBS:-2}" ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
done
for p in "${pids[@]}"; do wait "$p"; done
rm -f "$out/libkorvane.a"
x86_64-w64-mingw32-ar rcs "$out/libkorvane.a" "${objs[@]}"
count=0
for f in src/commands/KV*.cpp; do
  name=$(basename "$f" .cpp)
  $CXX "${flags[@]}" -c "$f" -o "$out/obj/$name.o"
  $CXX -shared -o "$out/$name.mexw64" "$out/obj/$name.o" "$out/libkorvane.a" \
    -L"$out/lib" -lkorvane_stubs -static-libgcc -static-libstdc++
  x86_64-w64-mingw32-objdump -p "$out/$name.mexw64" | grep -q "mexFunction"
  count=$((count + 1))
done
echo "$count modules cross-compiled and linked for Windows (MinGW-w64)"
