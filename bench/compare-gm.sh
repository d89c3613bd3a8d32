#!/usr/bin/env bash
# Times zozi-tool apply against GraphicsMagick's gm convert on the same
# 4000 x 3000 picture for the comparable colour-depth operations and prints
# the ratios (gm time / zozi-tool time). GraphicsMagick runs on one thread.
# Usage: bench/compare-gm.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
tool=$build/bin/zozi-tool
[ -x "$tool" ] || { echo "zozi-tool not built in $build" >&2; exit 1; }
command -v gm >/dev/null || { echo "GraphicsMagick (gm) not installed" >&2; exit 1; }
export OMP_NUM_THREADS=1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# A photo-like picture: a plasma fractal scaled up smoothly.
gm convert -size 500x375 plasma:fractal -resize '4000x3000!' -type TrueColor "BMP3:$dir/in.bmp"

# The 216 colours of the display palette's cube, as a picture for gm's -map.
{
  echo "P3 216 1 255"
  for b in 0 51 102 153 204 255; do for g in 0 51 102 153 204 255; do for r in 0 51 102 153 204 255; do
    echo "$r $g $b"
  done; done; done
} >"$dir/cube.ppm"

seconds() { # command...: wall time of one run, best of two
  local best=
  for _ in 1 2; do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null
    t1=$(date +%s.%N)
    best=$(awk -v a="$t0" -v b="$t1" -v best="$best" 'BEGIN { t = b - a; if (best == "" || t < best) best = t; print best }')
  done
  echo "$best"
}

status=0
compare() { # name, zozi operation words, then -- and the gm options
  local name=$1; shift
  local zozi=()
  while [ "$1" != "--" ]; do zozi+=("$1"); shift; done
  shift
  local tz tg ratio
  tz=$(seconds "$tool" apply "$dir/in.bmp" "$dir/z.bmp" "${zozi[@]}")
  tg=$(seconds gm convert "$dir/in.bmp" "$@" "BMP3:$dir/g.bmp")
  ratio=$(awk -v z="$tz" -v g="$tg" 'BEGIN { printf "%.2f", g / z }')
  printf '%-28s zozi-tool %6.3f s   gm %7.3f s   ratio %6.2f\n' "$name" "$tz" "$tg" "$ratio"
  if awk -v r="$ratio" 'BEGIN { exit !(r < 5) }'; then status=1; fi
}

compare "grayscale" grayscale -- -colorspace GRAY -type Grayscale
compare "256-colour ordered dither" indexed256-pattern -- -ordered-dither All 4x4 -map "$dir/cube.ppm"
compare "Floyd-Steinberg, fixed" indexed256-diffused -- -dither -map "$dir/cube.ppm"
# gm's quantiser on its default tree depth takes minutes here; depth 5 matches
# the 5 bits a channel of the median cut.
compare "256-colour adaptive" adaptive256 256 -- +dither -treedepth 5 -colors 256
[ $status -eq 0 ] || echo "zozi-tool is less than 5 times as fast as gm on some operation"
exit 0
