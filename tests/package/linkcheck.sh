#!/bin/sh
# Checks every href and src of the manual's pages in DIR (default
# build/doc): each points at a file of the manual (and an #anchor at an id
# of that page); nothing is loaded from the network. Ends in
# "N passed, M failed".
dir=${1:-build/doc}
pass=0
fail=0
for page in "$dir"/*.html; do
  [ -e "$page" ] || { echo "no pages in $dir"; echo "0 passed, 1 failed"; exit 1; }
  for ref in $(grep -o -E '(href|src)="[^"]*"' "$page" | sed -E 's/^(href|src)="//; s/"$//'); do
    case $ref in
      http://www.w3.org/2000/svg) continue ;;
      http:* | https:* | //*) echo "$page: refers to the network: $ref"; fail=$((fail + 1)); continue ;;
    esac
    file=${ref%%#*}
    anchor=
    case $ref in *'#'*) anchor=${ref#*#} ;; esac
    [ -n "$file" ] && target="$dir/$file" || target=$page
    if [ ! -f "$target" ]; then
      echo "$page: broken link $ref"
      fail=$((fail + 1))
    elif [ -n "$anchor" ] && ! grep -q "id=\"$anchor\"" "$target"; then
      echo "$page: no anchor $ref"
      fail=$((fail + 1))
    else
      pass=$((pass + 1))
    fi
  done
done
echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ]
