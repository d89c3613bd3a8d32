#!/usr/bin/env bash
# zozi-tool apply against GraphicsMagick, both on one thread, on the same
# 4000 × 3000 24-bit BMP (reading and writing the file included on both
# sides). Prints the best of three CPU times (user + system; the machine may
# be shared, so wall time says little) and the ratio gm / zozi-tool.
set -uo pipefail
build=${1:-build}
tool=$build/bin/zozi-tool
command -v gm >/dev/null || { echo "gm not installed: skipped"; exit 0; }
[ -x "$tool" ] || { echo "no $tool: skipped"; exit 0; }
export OMP_NUM_THREADS=1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
gm convert -size 4000x3000 gradient:navy-orange -type TrueColor "BMP3:$dir/in.bmp" || exit 1

best() { # best CPU time in seconds of three runs of "$@"
  local b=999999 t u s
  for _ in 1 2 3; do
    read -r u s < <( { TIMEFORMAT='%3U %3S'; time "$@" >/dev/null 2>&1; } 2>&1 ) || true
    t=$(echo "$u + $s" | bc -l)
    b=$(echo "if ($t < $b) $t else $b" | bc -l)
  done
  echo "$b"
}

status=0
row() { # name, goal ratio, zozi-tool operation words, --, gm options
  local name=$1 goal=$2; shift 2
  local ops=() gmops=()
  while [ "$1" != "--" ]; do ops+=("$1"); shift; done
  shift
  gmops=("$@")
  local z g
  "$tool" apply "$dir/in.bmp" "$dir/z.bmp" "${ops[@]}" || { echo "$name: zozi-tool failed"; status=1; return; }
  gm convert -limit threads 1 "$dir/in.bmp" "${gmops[@]}" "BMP3:$dir/g.bmp" || { echo "$name: gm failed"; status=1; return; }
  z=$(best "$tool" apply "$dir/in.bmp" "$dir/z.bmp" "${ops[@]}")
  g=$(best gm convert -limit threads 1 "$dir/in.bmp" "${gmops[@]}" "BMP3:$dir/g.bmp")
  local r
  r=$(echo "scale=2; $g / $z" | bc -l)
  printf '%-22s zozi-tool %6.3f s   gm %6.3f s   gm/zozi %5.2fx (goal %sx)\n' "$name" "$z" "$g" "$r" "$goal"
  [ "$(echo "$r >= $goal" | bc -l)" = 1 ] || status=1
}

row mirror 2 mirror -- -flop
row flip 2 flip -- -flip
# gm has no -transpose: its 90° turn is the nearest equivalent.
row transpose 2 transpose -- -rotate 90
row rotate-90 2 rotate-cw -- -rotate 90
row rotate-30 2 rotate 30 --clockwise -- -rotate 30
row scale-nearest 5 scale 2000 1500 -- -sample '2000x1500!'
row scale-bilinear 5 scale 2000 1500 --quality medium -- -filter Triangle -resize '2000x1500!'
row crop 2 crop 500 400 3499 2399 -- -crop 3000x2000+500+400
exit $status
