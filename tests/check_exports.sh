#!/bin/bash
# Every module in DIR with SUFFIX must define exactly one dynamic symbol:
# mexFunction.
dir=$1
suffix=$2
count=0
status=0
for m in "$dir"/*."$suffix"; do
  [ -e "$m" ] || continue
  count=$((count + 1))
  defined=$(nm -D --defined-only "$m" | awk '{print $NF}' | sort -u | tr '\n' ' ')
  if [ "$defined" != "mexFunction " ]; then
    echo "$m exports: $defined"
    status=1
  fi
done
if [ "$count" -eq 0 ]; then
  echo "no modules in $dir"
  exit 1
fi
echo "$count modules export only mexFunction"
exit $status
