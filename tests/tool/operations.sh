#!/usr/bin/env bash
# zozi-tool apply with the colour, filter and two-picture operations,
# histogram and count-colors, on small pictures with known pixels.
set -uo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

byte() { printf "\\x$(printf %02x "$1")"; }
le32() { byte $(($1 & 255)); byte $((($1 >> 8) & 255)); byte $((($1 >> 16) & 255)); byte $((($1 >> 24) & 255)); }
le16() { byte $(($1 & 255)); byte $((($1 >> 8) & 255)); }

# mkbmp FILE W H B G R...: a 24-bit BMP, pixels given top row first as
# blue green red triples.
mkbmp() {
  local file=$1 w=$2 h=$3; shift 3
  local stride=$(((w * 3 + 3) / 4 * 4)) pad
  pad=$((stride - w * 3))
  local -a px=("$@")
  {
    printf 'BM'; le32 $((54 + stride * h)); le32 0; le32 54
    le32 40; le32 "$w"; le32 "$h"; le16 1; le16 24; le32 0; le32 $((stride * h)); le32 2756; le32 2756; le32 0; le32 0
    for ((y = h - 1; y >= 0; y--)); do
      for ((i = 0; i < w * 3; i++)); do byte "${px[$((y * w * 3 + i))]}"; done
      for ((i = 0; i < pad; i++)); do byte 0; done
    done
  } > "$file"
}

# pixel FILE X Y: "b g r" of a 24-bit BMP written by the tool.
pixel() {
  local file=$1 x=$2 y=$3 w h off
  w=$(od -An -tu4 -j18 -N4 "$file" | tr -d ' ')
  h=$(od -An -tu4 -j22 -N4 "$file" | tr -d ' ')
  off=$(od -An -tu4 -j10 -N4 "$file" | tr -d ' ')
  local stride=$(((w * 3 + 3) / 4 * 4))
  od -An -tu1 -j $((off + (h - 1 - y) * stride + 3 * x)) -N3 "$file" | awk '{print $1, $2, $3}'
}

expect_px() { # file x y "b g r" what
  local got
  got=$(pixel "$1" "$2" "$3")
  [ "$got" = "$4" ] || fail "$5: pixel ($2,$3) is '$got', not '$4'"
}

apply() { "$tool" apply "$@" || fail "apply $*"; }

refused() { # IN operation args...: exit 2 and no output
  local in=$1; shift
  rm -f "$dir/refused.bmp"
  "$tool" apply "$in" "$dir/refused.bmp" "$@" 2> "$dir/err"
  [ $? -eq 2 ] || fail "$* not refused"
  [ ! -e "$dir/refused.bmp" ] || fail "$* left an output file"
}

uniform() { # FILE W H B G R
  local file=$1 w=$2 h=$3 b=$4 g=$5 r=$6 i; local -a px=()
  for ((i = 0; i < w * h; i++)); do px+=("$b" "$g" "$r"); done
  mkbmp "$file" "$w" "$h" "${px[@]}"
}

uniform "$dir/u.bmp" 3 3 10 20 30
uniform "$dir/grey.bmp" 4 2 77 77 77
uniform "$dir/a.bmp" 3 3 200 50 100
uniform "$dir/b.bmp" 3 3 100 80 100
uniform "$dir/small.bmp" 2 3 1 2 3
# Black 3 x 3 with a white centre.
mkbmp "$dir/dot.bmp" 3 3 0 0 0 0 0 0 0 0 0 0 0 0 255 255 255 0 0 0 0 0 0 0 0 0 0 0 0

# Colours.
apply "$dir/u.bmp" "$dir/o.bmp" negative
expect_px "$dir/o.bmp" 1 1 "245 235 225" negative
apply "$dir/u.bmp" "$dir/o.bmp" negative --channels r
expect_px "$dir/o.bmp" 2 0 "10 20 225" "negative red"
apply "$dir/u.bmp" "$dir/o.bmp" negative --channels ""
expect_px "$dir/o.bmp" 0 2 "10 20 30" "negative no channel"
apply "$dir/u.bmp" "$dir/o.bmp" posterize 4
expect_px "$dir/o.bmp" 1 1 "85 85 85" posterize
apply "$dir/u.bmp" "$dir/o.bmp" posterize 2 --channels gb
expect_px "$dir/o.bmp" 1 1 "255 255 30" "posterize gb"
apply "$dir/a.bmp" "$dir/o.bmp" solarize 127
expect_px "$dir/o.bmp" 0 0 "200 205 155" "solarize lighten"
apply "$dir/a.bmp" "$dir/o.bmp" solarize 127 --darken
expect_px "$dir/o.bmp" 0 0 "55 50 100" "solarize darken"
apply "$dir/u.bmp" "$dir/o.bmp" brightness-contrast 50 45 20
expect_px "$dir/o.bmp" 1 1 "10 20 30" "brightness identity"
apply "$dir/u.bmp" "$dir/o.bmp" brightness-contrast 100 45 20 --channel green
expect_px "$dir/o.bmp" 1 1 "10 91 30" "brightness 100 green"
apply "$dir/grey.bmp" "$dir/o.bmp" equalize
expect_px "$dir/o.bmp" 3 1 "255 255 255" "equalize grey"
apply "$dir/grey.bmp" "$dir/o.bmp" hue-saturation 0 0 0
expect_px "$dir/o.bmp" 0 0 "77 77 77" "hue-saturation identity"
apply "$dir/grey.bmp" "$dir/o.bmp" hue-saturation -10 -20 -255
expect_px "$dir/o.bmp" 0 0 "0 0 0" "hue-saturation darkest"

# Filters.
apply "$dir/dot.bmp" "$dir/o.bmp" blur-slight
expect_px "$dir/o.bmp" 1 1 "127 127 127" "blur slight"
expect_px "$dir/o.bmp" 0 0 "0 0 0" "blur border"
apply "$dir/u.bmp" "$dir/o.bmp" emboss
expect_px "$dir/o.bmp" 1 1 "128 128 128" emboss
apply "$dir/u.bmp" "$dir/o.bmp" edge-thin
expect_px "$dir/o.bmp" 1 1 "255 255 255" "edge thin"
apply "$dir/dot.bmp" "$dir/o.bmp" max
expect_px "$dir/o.bmp" 1 1 "255 255 255" max
apply "$dir/dot.bmp" "$dir/o.bmp" median
expect_px "$dir/o.bmp" 1 1 "0 0 0" median
apply "$dir/dot.bmp" "$dir/o.bmp" gaussian 1
expect_px "$dir/o.bmp" 0 0 "0 0 0" "gaussian corner"
apply "$dir/small.bmp" "$dir/o.bmp" sharpen-heavy
expect_px "$dir/o.bmp" 1 1 "1 2 3" "small picture copied"
for op in edge-thick edge-horizontal edge-vertical edge-highlight blur-more blur-heavy sharpen-slight sharpen-more min; do
  apply "$dir/dot.bmp" "$dir/o.bmp" "$op"
done

# Two pictures.
apply "$dir/a.bmp" "$dir/o.bmp" add "$dir/b.bmp"
expect_px "$dir/o.bmp" 1 1 "255 130 200" add
apply "$dir/a.bmp" "$dir/o.bmp" add "$dir/b.bmp" --wrap
expect_px "$dir/o.bmp" 1 1 "45 130 200" "add wrap"
apply "$dir/a.bmp" "$dir/o.bmp" add "$dir/b.bmp" --scale 2
expect_px "$dir/o.bmp" 1 1 "150 65 100" "add scale 2"
apply "$dir/a.bmp" "$dir/o.bmp" subtract "$dir/b.bmp"
expect_px "$dir/o.bmp" 1 1 "100 0 0" subtract
apply "$dir/a.bmp" "$dir/o.bmp" subtract "$dir/b.bmp" --scale 2 --wrap
expect_px "$dir/o.bmp" 1 1 "50 15 0" "subtract scale 2 wrap"
apply "$dir/a.bmp" "$dir/o.bmp" difference "$dir/b.bmp"
expect_px "$dir/o.bmp" 1 1 "100 30 0" difference
apply "$dir/a.bmp" "$dir/o.bmp" multiply "$dir/b.bmp"
expect_px "$dir/o.bmp" 1 1 "78 15 39" multiply
apply "$dir/a.bmp" "$dir/o.bmp" blend "$dir/b.bmp" 100
expect_px "$dir/o.bmp" 1 1 "200 50 100" "blend 100"
apply "$dir/a.bmp" "$dir/o.bmp" blend "$dir/b.bmp" 0
expect_px "$dir/o.bmp" 1 1 "100 80 100" "blend 0"

# Refusals: depth, size, arguments.
apply "$dir/u.bmp" "$dir/grey8.bmp" grayscale
for op in negative "posterize 4" "solarize 10" equalize emboss median "gaussian 2" "brightness-contrast 50 45 20" \
          "hue-saturation 1 2 3"; do
  # shellcheck disable=SC2086
  refused "$dir/grey8.bmp" $op
done
grep -q "Request for an unsupported operation" "$dir/err" || fail "refusal message: $(cat "$dir/err")"
refused "$dir/small.bmp" add "$dir/a.bmp"
refused "$dir/a.bmp" difference "$dir/grey8.bmp"
refused "$dir/a.bmp" add "$dir/b.bmp" --scale 3
refused "$dir/a.bmp" blend "$dir/b.bmp" 101
refused "$dir/a.bmp" brightness-contrast 101 45 20
refused "$dir/a.bmp" gaussian 51
refused "$dir/a.bmp" negative --channels x

# Histogram and colour count.
[ "$("$tool" histogram "$dir/grey.bmp")" = "min=77 max=77 mean=77.00 stddev=0.00" ] || fail "histogram grey"
[ "$("$tool" histogram "$dir/a.bmp" --channel red)" = "min=100 max=100 mean=100.00 stddev=0.00" ] ||
  fail "histogram red"
# (30 x 30 + 59 x 20 + 11 x 10) / 100 = 21
[ "$("$tool" histogram "$dir/grey8.bmp")" = "min=21 max=21 mean=21.00 stddev=0.00" ] || fail "histogram 8-bit grey"
out=$("$tool" histogram "$dir/dot.bmp" --channel blue) || fail "histogram dot"
# 8 x 0 and 1 x 255: mean 28.33, deviation sqrt(65025 / 9 - 28.33^2) = 80.139, hundredths truncated.
[ "$out" = "min=0 max=255 mean=28.33 stddev=80.13" ] || fail "histogram dot: $out"
"$tool" histogram "$dir/dot.bmp" --accumulated > /dev/null || fail "histogram accumulated"
"$tool" histogram "$dir/dot.bmp" --channel cyan 2> /dev/null
[ $? -eq 2 ] || fail "histogram bad channel"
[ "$("$tool" count-colors "$dir/u.bmp")" = "1" ] || fail "count one colour"
[ "$("$tool" count-colors "$dir/dot.bmp")" = "2" ] || fail "count two colours"
exit 0
