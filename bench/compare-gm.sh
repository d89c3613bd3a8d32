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

# Times of one command, best of two runs: "wall cpu" in seconds, cpu being
# user + system time (steadier than wall time on a busy machine).
times_of() {
  local best_wall= best_cpu=
  for _ in 1 2; do
    local out
    out=$( { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null 2>&1; } 2>&1 )
    read -r w u s <<<"$out"
    best_wall=$(awk -v t="$w" -v b="$best_wall" 'BEGIN { print (b == "" || t < b) ? t : b }')
    best_cpu=$(awk -v t="$u" -v s="$s" -v b="$best_cpu" 'BEGIN { c = t + s; print (b == "" || c < b) ? c : b }')
  done
  echo "$best_wall $best_cpu"
}

status=0
compare() { # name, zozi operation words, then -- and the gm options
  local name=$1; shift
  local zozi=()
  while [ "$1" != "--" ]; do zozi+=("$1"); shift; done
  shift
  local zw zc gw gc
  read -r zw zc <<<"$(times_of "$tool" apply "$dir/in.bmp" "$dir/z.bmp" "${zozi[@]}")"
  read -r gw gc <<<"$(times_of gm convert "$dir/in.bmp" "$@" "BMP3:$dir/g.bmp")"
  local rw rc
  rw=$(awk -v z="$zw" -v g="$gw" 'BEGIN { printf "%.2f", g / z }')
  rc=$(awk -v z="$zc" -v g="$gc" 'BEGIN { printf "%.2f", (z > 0 ? g / z : 0) }')
  printf '%-27s wall: zozi-tool %6.3f s  gm %7.3f s  ratio %6.2f   cpu: zozi-tool %6.3f s  gm %7.3f s  ratio %6.2f\n' \
    "$name" "$zw" "$gw" "$rw" "$zc" "$gc" "$rc"
  if awk -v r="$rc" 'BEGIN { exit !(r < 5) }'; then status=1; fi
}

compare "grayscale" grayscale -- -colorspace GRAY -type Grayscale
compare "256-colour ordered dither" indexed256-pattern -- -ordered-dither All 4x4 -map "$dir/cube.ppm"
compare "Floyd-Steinberg, fixed" indexed256-diffused -- -dither -map "$dir/cube.ppm"
# gm's quantiser on its default tree depth takes minutes here; depth 5 matches
# the 5 bits a channel of the median cut.
compare "256-colour adaptive" adaptive256 256 -- +dither -treedepth 5 -colors 256
[ $status -eq 0 ] || echo "zozi-tool takes more than a fifth of gm's processor time on some operation"
exit 0
