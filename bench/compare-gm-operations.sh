#!/usr/bin/env bash
# Our point operations and filters against the comparable GraphicsMagick
# operations, both on one thread, on a 4000 x 3000 24-bit picture.
#
# GraphicsMagick: the user CPU time of `gm convert in.mpc <op> null:` less
# that of `gm convert in.mpc null:` (reading the picture), best of a few runs.
# Ours: megapixels per second of bench_imaging (CPU time, operation only).
# Usage: bench/compare-gm-operations.sh [BUILD_DIR]   (ZOZI_GM_SIZE=WxH for a smaller run)
set -uo pipefail
build=${1:-build}
bench="$build/bin/bench_imaging"
size=${ZOZI_GM_SIZE:-4000x3000}
runs=${ZOZI_GM_RUNS:-2}
command -v gm > /dev/null || { echo "compare-gm: gm (GraphicsMagick) is not installed"; exit 0; }
[ -x "$bench" ] || { echo "compare-gm: $bench not built"; exit 0; }
export OMP_NUM_THREADS=1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
w=${size%x*}
h=${size#*x}
mpx=$(awk -v w="$w" -v h="$h" 'BEGIN { print w * h / 1e6 }')

gm convert -size "$size" plasma:fractal -type TrueColor "$dir/in.mpc" || exit 1

# Best user CPU seconds of a gm command.
gm_seconds() {
  local best="" t
  for ((i = 0; i < runs; i++)); do
    t=$( { TIMEFORMAT='%U'; time gm convert "$dir/in.mpc" "$@" null: > /dev/null 2>&1; } 2>&1 )
    best=$(awk -v a="$t" -v b="$best" 'BEGIN { print (b == "" || a < b) ? a : b }')
  done
  echo "$best"
}
base=$(gm_seconds)

# Our figures, megapixels per second by benchmark name.
"$bench" --benchmark_filter='Convolve|Rank/2|Gaussian/5|Run/(negative|solarize|equalize|hue_saturation)$' \
  --benchmark_min_time=0.2 --benchmark_format=csv 2> /dev/null |
  awk -F, '/^"/ { gsub(/"/, "", $1); printf "%s %.1f\n", $1, $7 / 1e6 }' > "$dir/ours"

printf '%-34s %12s %12s %8s\n' operation "zozi Mpx/s" "gm Mpx/s" ratio
compare() { # label, our benchmark name, gm arguments...
  local label=$1 name=$2 ours t gm; shift 2
  ours=$(awk -v n="$name" '$1 == n { print $2 }' "$dir/ours")
  t=$(gm_seconds "$@")
  gm=$(awk -v t="$t" -v b="$base" -v m="$mpx" 'BEGIN { d = t - b; if (d < 0.001) d = 0.001; printf "%.1f", m / d }')
  printf '%-34s %12s %12s %7sx\n' "$label" "${ours:-?}" "$gm" \
    "$(awk -v a="${ours:-0}" -v b="$gm" 'BEGIN { printf "%.1f", a / b }')"
}

compare "negative (-negate)" Run/negative -negate
compare "solarize (-solarize 50%)" Run/solarize -solarize 50%
compare "equalize (-equalize)" Run/equalize -equalize
compare "hue/saturation (-modulate)" Run/hue_saturation -modulate 105,120,110
compare "blur slight (-convolve)" BM_Convolve/blur_slight -convolve 1,0,1,0,4,0,1,0,1
compare "blur more (-convolve)" BM_Convolve/blur_more -convolve 1,1,1,1,4,1,1,1,1
compare "blur heavy (-convolve)" BM_Convolve/blur_heavy -convolve 1,1,1,1,1,1,1,1,1
compare "sharpen slight (-convolve)" BM_Convolve/sharpen_slight -convolve -1,0,-1,0,7,0,-1,0,-1
compare "sharpen more (-convolve)" BM_Convolve/sharpen_more -convolve -1,0,-1,0,5,0,-1,0,-1
compare "sharpen heavy (-convolve)" BM_Convolve/sharpen_heavy -convolve -1,-1,-1,-1,9,-1,-1,-1,-1
compare "emboss (-convolve)" BM_Convolve/emboss -convolve -1,0,0,0,0,0,0,0,1
compare "edge thin (-convolve)" BM_Convolve/edge_thin -convolve -1,-1,-1,-1,8,-1,-1,-1,-1
compare "edge horizontal (-convolve)" BM_Convolve/edge_horizontal -convolve 1,2,1,0,0,0,-1,-2,-1
compare "edge vertical (-convolve)" BM_Convolve/edge_vertical -convolve 1,0,-1,2,0,-2,1,0,-1
compare "edge highlight (-convolve)" BM_Convolve/edge_highlight -convolve -1,-2,0,-2,0,2,0,2,1
compare "median (-median 1)" BM_Rank/2 -median 1
compare "gaussian radius 5 (-gaussian 5x5)" BM_Gaussian/5 -gaussian 5x5
