#!/usr/bin/env bash
# zozi-tool apply: geometry, tone curve and warp.
set -uo pipefail
tool=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

gm convert -size 37x23 gradient:red-blue -type TrueColor "BMP3:$dir/in.bmp" || fail "gm could not make a picture"
"$tool" convert "$dir/in.bmp" "$dir/copy.bmp" || fail "convert"
"$tool" apply "$dir/in.bmp" "$dir/gray8.bmp" grayscale || fail "grayscale"

size() { "$tool" image info "$1" | sed 's/.*width=\([0-9]*\) height=\([0-9]*\).*/\1x\2/'; }
apply() { "$tool" apply "$@" || fail "apply $*"; }
same() { cmp -s "$1" "$2" || fail "$3"; }
refused() { # input, operation, args...
  local in=$1; shift
  rm -f "$dir/refused.bmp"
  "$tool" apply "$in" "$dir/refused.bmp" "$@" 2>"$dir/err"
  [ $? -eq 2 ] || fail "$* not refused"
  [ ! -e "$dir/refused.bmp" ] || fail "$* left an output file"
}

# Each reflection or turn undone by itself or its opposite.
for pair in "mirror mirror" "flip flip" "transpose transpose" "rotate-cw rotate-ccw" "rotate-180 rotate-180"; do
  set -- $pair
  apply "$dir/in.bmp" "$dir/a.bmp" "$1"
  apply "$dir/a.bmp" "$dir/b.bmp" "$2"
  same "$dir/b.bmp" "$dir/copy.bmp" "$1 then $2"
done
apply "$dir/in.bmp" "$dir/cw.bmp" rotate-cw
[ "$(size "$dir/cw.bmp")" = "23x37" ] || fail "rotate-cw size $(size "$dir/cw.bmp")"

# Arbitrary rotation: 0 does nothing; 90 is sheared into a slightly larger picture.
apply "$dir/in.bmp" "$dir/r0.bmp" rotate 0
same "$dir/r0.bmp" "$dir/copy.bmp" "rotate 0"
apply "$dir/in.bmp" "$dir/r90.bmp" rotate 90
[ "$(size "$dir/r90.bmp")" = "24x38" ] || fail "rotate 90 size $(size "$dir/r90.bmp")"
apply "$dir/in.bmp" "$dir/r30.bmp" rotate 30 --clockwise
"$tool" apply "$dir/in.bmp" "$dir/x.bmp" rotate 361 2>/dev/null; [ $? -eq 2 ] || fail "rotate 361 accepted"

# Scaling: the same size is exact with both scalers; doubling.
apply "$dir/in.bmp" "$dir/s.bmp" scale 37 23
same "$dir/s.bmp" "$dir/copy.bmp" "scale low same size"
apply "$dir/in.bmp" "$dir/s.bmp" scale 37 23 --quality high
same "$dir/s.bmp" "$dir/copy.bmp" "scale high same size"
apply "$dir/in.bmp" "$dir/s.bmp" scale 74 46 --quality medium
[ "$(size "$dir/s.bmp")" = "74x46" ] || fail "scale size"
apply "$dir/gray8.bmp" "$dir/g.bmp" scale 10 10
refused "$dir/gray8.bmp" scale 10 10 --quality high

# Crop with inclusive corners.
apply "$dir/in.bmp" "$dir/c.bmp" crop 0 0 36 22
same "$dir/c.bmp" "$dir/copy.bmp" "full crop"
apply "$dir/in.bmp" "$dir/c.bmp" crop 5 3 14 7
[ "$(size "$dir/c.bmp")" = "10x5" ] || fail "crop size $(size "$dir/c.bmp")"
refused "$dir/in.bmp" crop 0 0 37 22
refused "$dir/gray8.bmp" crop 0 0 5 5

# Curves: the original curve changes nothing; darken does on the chosen channel.
apply "$dir/in.bmp" "$dir/k.bmp" curve "$src/resources/curves/Original Curve.tac"
same "$dir/k.bmp" "$dir/copy.bmp" "original curve"
apply "$dir/in.bmp" "$dir/k.bmp" curve "$src/resources/curves/Darken.tac" --channel red
cmp -s "$dir/k.bmp" "$dir/copy.bmp" && fail "darken changed nothing"
printf 'Not a curve file at all......' > "$dir/bad.tac"
refused "$dir/in.bmp" curve "$dir/bad.tac"
grep -q "Unexpected file format." "$dir/err" || fail "bad curve message: $(cat "$dir/err")"
refused "$dir/in.bmp" curve "$dir/missing.tac"

# Warp: a regular mesh reproduces the picture, with either resampler.
apply "$dir/in.bmp" "$dir/w.bmp" warp "$src/fuzz/corpus/wms_read/large.wms"
same "$dir/w.bmp" "$dir/copy.bmp" "identity warp"
apply "$dir/in.bmp" "$dir/w.bmp" warp "$src/fuzz/corpus/wms_read/small.wms" --high-quality
apply "$dir/in.bmp" "$dir/w.bmp" warp "$src/fuzz/corpus/wms_read/moved.wms"
cmp -s "$dir/w.bmp" "$dir/copy.bmp" && fail "moved mesh changed nothing"

# 24-bit only.
for op in mirror flip transpose rotate-cw rotate-ccw rotate-180 "rotate 45"; do
  refused "$dir/gray8.bmp" $op
done
refused "$dir/gray8.bmp" curve "$src/resources/curves/Darken.tac"
refused "$dir/gray8.bmp" warp "$src/fuzz/corpus/wms_read/large.wms"
grep -q "Request for an unsupported operation" "$dir/err" || fail "refusal message: $(cat "$dir/err")"
exit 0
