#!/usr/bin/env bash
# zozi-tool image info, convert and the depth operations of apply.
set -uo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

gm convert -size 37x23 gradient:red-blue -type TrueColor "BMP3:$dir/in24.bmp" || fail "gm could not make a picture"

info=$("$tool" image info "$dir/in24.bmp") || fail "image info"
[ "$info" = "format=6 name=Windows BMP width=37 height=23 bpp=24" ] || fail "image info: $info"

bpp() { "$tool" image info "$1" | sed 's/.*bpp=//'; }

check_op() { # input, operation, expected bpp, args...
  local in=$1 op=$2 want=$3; shift 3
  "$tool" apply "$in" "$dir/$op.bmp" "$op" "$@" || fail "apply $op"
  [ "$(bpp "$dir/$op.bmp")" = "$want" ] || fail "$op gives $(bpp "$dir/$op.bmp") bits"
}
refused() { # input, operation, args...
  local in=$1 op=$2; shift 2
  rm -f "$dir/refused.bmp"
  "$tool" apply "$in" "$dir/refused.bmp" "$op" "$@" 2>"$dir/err"
  [ $? -eq 2 ] || fail "$op on $(bpp "$in") bits not refused"
  [ ! -e "$dir/refused.bmp" ] || fail "$op left an output file"
}

check_op "$dir/in24.bmp" grayscale 8
check_op "$dir/in24.bmp" indexed16-diffused 4
check_op "$dir/in24.bmp" indexed8-pattern 4
check_op "$dir/in24.bmp" indexed256-pattern 8
check_op "$dir/in24.bmp" indexed256-diffused 8
check_op "$dir/in24.bmp" adaptive256 8 200
check_op "$dir/in24.bmp" adaptive256 8 64 --dither --system-colors
cp "$dir/grayscale.bmp" "$dir/gray8.bmp"
check_op "$dir/gray8.bmp" bw-pattern 1
check_op "$dir/gray8.bmp" bw-threshold 1
check_op "$dir/gray8.bmp" grayscale-palette 8
check_op "$dir/gray8.bmp" truecolor 24
check_op "$dir/gray8.bmp" indexed256-diffused 8
check_op "$dir/gray8.bmp" false-color 8 spectrum
cp "$dir/indexed16-diffused.bmp" "$dir/in4.bmp"
check_op "$dir/in4.bmp" indexed16-diffused 4
check_op "$dir/in4.bmp" truecolor 24

refused "$dir/in24.bmp" bw-pattern
refused "$dir/in24.bmp" bw-threshold
refused "$dir/in24.bmp" grayscale-palette
refused "$dir/in24.bmp" truecolor
refused "$dir/in24.bmp" false-color pseudo
refused "$dir/in4.bmp" grayscale
refused "$dir/in4.bmp" indexed256-diffused
refused "$dir/gray8.bmp" adaptive256 100
grep -q "Request for an unsupported operation" "$dir/err" || fail "refusal message: $(cat "$dir/err")"
refused "$dir/in24.bmp" adaptive256 7
refused "$dir/in24.bmp" no-such-operation

# Convert keeps the pixels (the header written has biSizeImage 0).
"$tool" convert "$dir/in24.bmp" "$dir/copy.bmp" || fail "convert"
cmp -s <(tail -c +55 "$dir/in24.bmp") <(tail -c +55 "$dir/copy.bmp") || fail "convert changed the pixels"
"$tool" convert "$dir/copy.bmp" "$dir/copy2.bmp" || fail "convert again"
cmp -s "$dir/copy.bmp" "$dir/copy2.bmp" || fail "a second convert changed the file"
"$tool" convert "$dir/gray8.bmp" "$dir/copy8.bmp" --save-type 36 || fail "convert --save-type 36"
"$tool" convert "$dir/gray8.bmp" "$dir/deep.bmp" --save-type 37 || fail "save type 37 of 8 bits"
[ "$(bpp "$dir/deep.bmp")" = 24 ] || fail "save type 37 wrote $(bpp "$dir/deep.bmp") bits"
"$tool" convert "$dir/gray8.bmp" "$dir/no.cmp" --save-type 47 2>/dev/null && fail "save type 47 written"
[ ! -e "$dir/no.cmp" ] || fail "a refused save left a file"

# Run-length compressed input (RLE8 and RLE4 as GraphicsMagick writes them)
# reads as GraphicsMagick reads it.
gm convert -size 40x30 gradient:yellow-blue -colors 200 -compress RLE "BMP3:$dir/rle8.bmp"
gm convert -size 33x7 gradient:white-black -colors 16 -compress RLE "BMP3:$dir/rle4.bmp"
for f in rle8 rle4; do
  "$tool" convert "$dir/$f.bmp" "$dir/$f-out.bmp" || fail "convert $f"
  mae=$(gm compare -metric MAE "$dir/$f.bmp" "$dir/$f-out.bmp" | awk '/Total/ { print $2 }')
  [ "$mae" = "0.0000000000" ] || fail "$f decoded differently: $mae"
done
check_op "$dir/rle8.bmp" indexed256-diffused 8

"$tool" apply --list | grep -qx "indexed256-diffused (2055)" || fail "apply --list"
# --for: the enable rules for that picture at zoom 1 without fit.
"$tool" apply "$dir/in24.bmp" "$dir/grey.bmp" grayscale || fail "grayscale"
for case in "in24 mirror enabled" "in24 truecolor disabled" "in24 crop enabled" "in24 false-color disabled" \
            "grey false-color enabled" "grey mirror disabled" "grey crop disabled" "grey bw-pattern enabled" \
            "grey scale enabled" "indexed16-diffused scale disabled" "indexed16-diffused indexed16-diffused enabled"; do
  set -- $case
  line=$("$tool" apply --list --for "$dir/$1.bmp" | grep "^$2 ") || fail "apply --list --for $1: no $2"
  [ "${line##* }" = "$3" ] || fail "apply --list --for $1: $line, not $3"
done
"$tool" apply --list --for "$dir/in24.bmp" | grep -qx "false-color pseudo|spectrum|fire-sky (2123) disabled" ||
  fail "apply --list --for: false-color line"
"$tool" apply --list --for 2>/dev/null && fail "apply --list --for without a file"

printf 'BMnot really a bitmap' >"$dir/bad.bmp"
"$tool" image info "$dir/bad.bmp" 2>"$dir/err"
[ $? -eq 2 ] || fail "a bad file is not an error"
grep -q "An error was encountered while reading the file:" "$dir/err" || fail "bad file message: $(cat "$dir/err")"
echo "ok"
