#!/usr/bin/env bash
# Import and export of a 12-megapixel picture: `zozi-tool convert IN OUT`
# (import, then export with the same format) against `gm convert IN OUT`
# doing the same conversion in one run. Prints seconds (best of 3) and the ratio.
set -uo pipefail
build=${1:-build}
tool="$build/bin/zozi-tool"
command -v gm >/dev/null || { echo "gm not installed; skipped"; exit 0; }
[ -x "$tool" ] || { echo "$tool not built; skipped"; exit 0; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# 4000 × 3000, smooth with some grain, as photos are.
gm convert -size 4000x3000 plasma:fractal -type TrueColor "BMP3:$dir/src.bmp" 2>/dev/null ||
  gm convert -size 4000x3000 gradient:orange-navy -type TrueColor "BMP3:$dir/src.bmp"

best() { # command...: "wall cpu" of the fastest of three runs, in seconds (cpu = user + system)
  local b="999 999" t
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %U %S" -o "$dir/time" "$@" >/dev/null 2>&1
    t=$(tail -1 "$dir/time" | awk '{printf "%.2f %.2f", $1, $2 + $3}')
    b=$(echo "$t $b" | awk '{print ($1 < $3) ? $1 " " $2 : $3 " " $4}')
  done
  echo "$b"
}

# zozi-tool commits its output with fsync (written beside, renamed over); gm does not.
printf '%-6s %10s %10s %10s %10s %7s %7s\n' format zozi-wall gm-wall zozi-cpu gm-cpu wall cpu
for spec in bmp:37 tif:14 pcx:45 tga:3 gif:46 jpg:52 png:57; do
  ext=${spec%%:*} st=${spec##*:}
  "$tool" convert "$dir/src.bmp" "$dir/in.$ext" --save-type "$st" || { echo "$ext: could not make input"; continue; }
  z=$(best "$tool" convert "$dir/in.$ext" "$dir/z.$ext" --save-type "$st")
  g=$(best gm convert "$dir/in.$ext" "$dir/g.$ext")
  echo "$ext $z $g" | awk '{printf "%-6s %10s %10s %10s %10s %7.2f %7.2f\n", $1, $2, $4, $3, $5,
    ($4 > 0) ? $2 / $4 : 0, ($5 > 0) ? $3 / $5 : 0}'
done
