#!/bin/sh
# Writes BUILD/korvane-<version>.tar.gz, an Octave package:
#   DESCRIPTION COPYING NEWS INDEX  from packaging/ (version from VERSION)
#   inst/                           the m-file helpers of inst/ and VERSION
#   src/                            the C++ sources, the help texts, the help
#                                   header script, packaging/Makefile, and a
#                                   KVxxx.cc per command that includes its
#                                   .cpp and carries packaging/tests/KVxxx.tst
# Fails when a command has no heading in packaging/INDEX.in.
set -eu
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
version=$(cat VERSION)
name=korvane-$version
work=$BUILD/dist
stage=$work/$name
rm -rf "$stage"
mkdir -p "$stage/inst" "$stage/src"

date=$(git log -1 --format=%cs 2>/dev/null || true)
[ -n "$date" ] || date=$(date +%F)
sed -e "s/@VERSION@/$version/" -e "s/@DATE@/$date/" packaging/DESCRIPTION.in > "$stage/DESCRIPTION"
cp packaging/COPYING packaging/NEWS "$stage/"

commands=$(ls src/commands/KV*.cpp | sed 's|.*/||; s|\.cpp$||')
helpers=$(ls inst/*.m | sed 's|.*/||; s|\.m$||')
# INDEX: the headings of INDEX.in, with the functions this tree has.
printf '%s\n%s\n' "$commands" "$helpers" | awk '
  NR == FNR { have[$1] = 1; next }
  FNR == 1 { print; next }
  /^[^ ]/ { print; next }
  { line = ""; for (i = 1; i <= NF; i++) if ($i in have) { line = line " " $i; seen[$i] = 1 }
    if (line != "") print line }
  END { for (f in have) if (!(f in seen)) { print "no INDEX heading for " f > "/dev/stderr"; bad = 1 }
        exit bad }' - packaging/INDEX.in > "$stage/INDEX"

cp inst/*.m VERSION "$stage/inst/"

for d in src/*/; do
  sub=$(basename "$d")
  mkdir -p "$stage/src/$sub"
  for f in "$d"*.cpp "$d"*.h "$d"*.m "$d"*.map; do
    [ -e "$f" ] && cp "$f" "$stage/src/$sub/"
  done
done
cp packaging/Makefile "$stage/src/Makefile"
cp scripts/help_header.sh "$stage/src/help_header.sh"

for c in $commands; do
  [ -f "src/commands/$c.m" ] || { echo "no help text src/commands/$c.m for $c" >&2; exit 1; }
  {
    echo "// $c as an oct-file: the command itself is commands/$c.cpp."
    echo "#include \"commands/$c.cpp\""
    if [ -f "packaging/tests/$c.tst" ]; then
      echo ""
      echo "/*"
      cat "packaging/tests/$c.tst"
      echo "*/"
    fi
  } > "$stage/src/$c.cc"
done

tar -C "$work" -czf "$BUILD/$name.tar.gz" --owner=0 --group=0 "$name"
echo "$BUILD/$name.tar.gz"
