#!/bin/bash
# Every module in DIR with SUFFIX must define exactly one dynamic symbol:
# mexFunction for a MEX module, G<command> (Octave's installer of the
# function) for an oct-file.
dir=$1
suffix=$2
count=0
status=0
for m in "$dir"/*."$suffix"; do
  [ -e "$m" ] || continue
  count=$((count + 1))
  if [ "$suffix" = oct ]; then
    want="G$(basename "$m" ."$suffix") "
  else
    want="mexFunction "
  fi
  defined=$(nm -D --defined-only "$m" | awk '{print $NF}' | sort -u | tr '\n' ' ')
  if [ "$defined" != "$want" ]; then
    echo "$m exports: $defined"
    status=1
  fi
done
if [ "$count" -eq 0 ]; then
  echo "no modules in $dir"
  exit 1
fi
echo "$count modules export only their entry point"
exit $status
