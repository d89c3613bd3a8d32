#!/usr/bin/env bash
# zozi-tool effect: transition schedules and frame strips.
set -uo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Spiral In on 33 x 17: two rings, nothing left for the end.
out=$("$tool" effect 1007 33x17) || fail "effect 1007"
want="step 1: 0,0 8x8 8,0 8x8 16,0 17x8 24,0 9x8 25,0 8x17 25,8 8x9 25,9 8x8 17,9 8x8 9,9 17x8 1,9 9x8 0,9 8x8 0,1 8x9
step 2: 8,8 17x8 16,8 9x8 17,1 16x8 9,1 9x8
final:
total 2"
[ "$out" = "$want" ] || fail "spiral schedule: $out"

# (None) and unknown ids paint the picture at the end.
for id in 1001 0 4242; do
  out=$("$tool" effect $id 5x4) || fail "effect $id"
  [ "$out" = "$(printf 'final: 0,0 5x4\ntotal 0')" ] || fail "effect $id: $out"
done

# Every step is numbered, the total counts them.
"$tool" effect 1006 64x48 > "$dir/fade" || fail "fade"
steps=$(grep -c '^step ' "$dir/fade")
[ "$(tail -1 "$dir/fade")" = "total $steps" ] || fail "fade total"
[ "$steps" -eq $((21 * 16 - 1)) ] || fail "fade has $steps steps"
grep -v '^total' "$dir/fade" | grep -Evq '^(step [0-9]+|final):( [0-9]+,[0-9]+ [0-9]+x[0-9]+)*$' &&
  fail "a line out of form"
seq 1 "$steps" | sed 's/^/step /' > "$dir/numbers"
grep '^step ' "$dir/fade" | sed 's/:.*//' | cmp -s - "$dir/numbers" || fail "steps not numbered from 1"

# (Random) with a seed repeats itself and is one of the six transitions.
a=$("$tool" effect 1002 50x40 --seed 7) || fail "random"
b=$("$tool" effect 1002 50x40 --seed 7) || fail "random again"
[ "$a" = "$b" ] || fail "the seed does not fix the pick"
found=no
for id in 1003 1004 1005 1006 1007 1008; do
  [ "$a" = "$("$tool" effect $id 50x40)" ] && found=yes
done
[ $found = yes ] || fail "random picked no transition"

# Bad calls.
"$tool" effect 1003 0x5 > /dev/null 2>&1; [ $? -eq 2 ] || fail "0x5 accepted"
"$tool" effect 1003 12 > /dev/null 2>&1; [ $? -eq 2 ] || fail "size without x accepted"
"$tool" effect abc 4x4 > /dev/null 2>&1; [ $? -eq 2 ] || fail "id abc accepted"

# Frames: one per step and one after the final painting, the last equal to IN.
gm convert -size 40x30 gradient:red-blue -type TrueColor "BMP3:$dir/in.bmp" || fail "gm could not make a picture"
gm convert -size 40x30 xc:green -type TrueColor "BMP3:$dir/prev.bmp" || fail "gm could not make a picture"
"$tool" effect 1004 "$dir/in.bmp" "$dir/frames" --from "$dir/prev.bmp" || fail "frames"
total=$("$tool" effect 1004 40x30 | tail -1 | sed 's/total //')
count=$(ls "$dir/frames" | wc -l)
[ "$count" -eq $((total + 1)) ] || fail "$count frames for $total steps"
last=$(printf 'frame_%04d.bmp' "$count")
same() { gm compare -metric mae "$1" "$2" | grep -Eq 'Total: 0\.0+ +0\.0$'; }
same "$dir/frames/$last" "$dir/in.bmp" || fail "the last frame is not IN"
same "$dir/frames/frame_0001.bmp" "$dir/in.bmp" && fail "the first frame is already IN"
same "$dir/frames/frame_0001.bmp" "$dir/prev.bmp" && fail "the first frame paints nothing"
"$tool" effect 1004 "$dir/in.bmp" "$dir/black" || fail "frames without --from"
[ -e "$dir/black/frame_0001.bmp" ] || fail "no frames without --from"

# A PREV of another size is refused and nothing is written.
gm convert -size 41x30 xc:green -type TrueColor "BMP3:$dir/prev41.bmp"
"$tool" effect 1004 "$dir/in.bmp" "$dir/none" --from "$dir/prev41.bmp" 2> /dev/null
[ $? -eq 2 ] || fail "PREV of another size accepted"
[ ! -e "$dir/none" ] || fail "frames written for a refused PREV"
echo ok
