#!/bin/sh
# Writes matlab/Contents.m, MATLAB's `help <folder>` listing: every command
# and helper with the first line of its help, under the headings of
# packaging/INDEX.in, the version from VERSION.
#   scripts/contents.sh           rewrite matlab/Contents.m
#   scripts/contents.sh --check   fail when matlab/Contents.m is out of date
set -eu
cd "$(dirname "$0")/.."
out=matlab/Contents.m
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
{
  # name<TAB>summary of every help text: its first comment line.
  for f in src/commands/KV*.m inst/*.m; do
    awk '/^%/ { sub(/^% */, ""); n = $1; sub(/^[^ ]+ +/, ""); print n "\t" $0; exit }' "$f"
  done
} | awk -F '\t' -v version="$(cat VERSION)" '
  NR == FNR { summary[$1] = $2; if (length($1) > width) width = length($1); next }
  FNR == 1 { print "% Korvane: optical toolbox"; print "% Version " version; next }
  /^[^ ]/ { heading = $0; next }
  { n = split($0, w, " ")
    for (i = 1; i <= n; i++) if (w[i] in summary) {
      if (heading != "") { print "%"; print "% " heading; heading = "" }
      printf "%%   %-" width "s - %s\n", w[i], summary[w[i]]; done[w[i]] = 1 } }
  END { for (f in summary) if (!(f in done)) { print "no INDEX heading for " f > "/dev/stderr"; bad = 1 }
        exit bad }' - packaging/INDEX.in > "$tmp"
if [ "${1:-}" = "--check" ]; then
  if cmp -s "$tmp" "$out"; then
    echo "$out is up to date"
  else
    echo "$out is out of date: run scripts/contents.sh"
    diff "$out" "$tmp" || true
    exit 1
  fi
else
  cp "$tmp" "$out"
  echo "$out"
fi
