#!/bin/sh
# Stands in for tovrel_render in the comparison's own test: one case of 8192 frames in two
# chunks, whose output word at frame FLIP (the first argument; -1 for none) is changed.
flip=$1
shift
case "$1" in
  --probes) echo "probe pow5 maths count=1 0000000000000001" ;;
  --dump)
    first=$3
    last=$(($3 + $4))
    n=$first
    while [ "$n" -lt "$last" ]; do
      right=0000000000000001
      [ "$n" -eq "$flip" ] && right=00000000000000ff
      echo "frame $n 0000000000000002 $right"
      n=$((n + 1))
    done
    ;;
  --shard) [ "${2%%/*}" = 0 ] || exit 0 ;;
esac
case "$1" in
  --probes | --dump) exit 0 ;;
esac
echo "case demo frames=8192 chunk=4096"
for chunk in 0 1; do
  hash=same
  [ "$flip" -ge $((chunk * 4096)) ] && [ "$flip" -lt $((chunk * 4096 + 4096)) ] && hash=flipped
  echo "chunk $chunk $hash"
done
echo "state field 1 2"
echo "noise 1 2"
echo "end demo"
