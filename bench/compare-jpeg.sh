#!/usr/bin/env bash
# Photo-file JPEG speed against libjpeg-turbo's own tools, in one run on the
# same 12-megapixel picture:
#   writing: zozi-tool photo create (BMP in, photo file out, Q 65)  vs  cjpeg -quality 65 (PPM in, JPEG out)
#   reading: zozi-tool photo export (GetTag 5, BMP out)             vs  djpeg -bmp on the same stream
# Each side runs several times; the best time counts. Goal: at most 1.1x.
# zozi-tool writes its outputs beside the target, synced, then renamed over
# it; the reference tools' outputs are synced too (sync FILE), so both sides
# leave their result on the disk.
set -euo pipefail
build=${1:?usage: compare-jpeg.sh BUILD_DIR}
tool=$build/bin/zozi-tool
runs=${ZOZI_COMPARE_RUNS:-5}
for t in cjpeg djpeg python3; do
  command -v "$t" > /dev/null || { echo "compare-jpeg: $t not installed, skipped"; exit 0; }
done
[ -x "$tool" ] || { echo "compare-jpeg: $tool not built"; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# 4000 x 3000: gradients and grain, the same pixels as PPM (RGB, top-down) and BMP (BGR, bottom-up).
python3 - "$dir" <<'PY'
import random, struct, sys
d = sys.argv[1]
w, h = 4000, 3000
random.seed(7)
base = bytes((x * 5 // 3 + (x % 3) * 50 + random.randrange(24)) & 255 for x in range(w * 3))
rows = []
for y in range(h):
    r = (y * 37) % len(base)
    shift = y // 12
    table = bytes((v + shift) & 255 for v in range(256))
    rows.append((base[r:] + base[:r]).translate(table))
with open(d + '/pic.ppm', 'wb') as f:
    f.write(b'P6\n%d %d\n255\n' % (w, h))
    f.writelines(rows)
with open(d + '/pic.bmp', 'wb') as f:
    size = w * 3 * h
    f.write(b'BM' + struct.pack('<IHHI', 54 + size, 0, 0, 54))
    f.write(struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, size, 2835, 2835, 0, 0))
    for row in reversed(rows):
        bgr = bytearray(row)
        bgr[0::3], bgr[2::3] = row[2::3], row[0::3]
        f.write(bgr)
PY

ms() { # wall time of a command in milliseconds
  local s e
  s=$(date +%s%N); $1 > /dev/null; e=$(date +%s%N)
  echo $(( (e - s) / 1000000 ))
}
pair() { # best times of two commands, run in turns so that load changes hit both alike
  local a b ba=999999999 bb=999999999
  for _ in $(seq "$runs"); do
    a=$(ms "$1"); b=$(ms "$2")
    (( a < ba )) && ba=$a
    (( b < bb )) && bb=$b
  done
  echo "$ba $bb"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { awk -v r="$1" 'BEGIN { print (r <= 1.10 ? "goal met" : "goal missed") }'; }

ours_write() { "$tool" photo create "$dir/pic.bmp" "$dir/p.qln" --quality 65; }
ours_read() { "$tool" photo export "$dir/p.qln" "$dir/ours.bmp"; }
cjpeg_synced() { cjpeg -quality 65 -outfile "$dir/ref.jpg" "$dir/pic.ppm" && sync "$dir/ref.jpg"; }
djpeg_synced() { djpeg -bmp -outfile "$dir/ref.bmp" "$dir/stream.jpg" && sync "$dir/ref.bmp"; }
read -r w_ours w_ref <<< "$(pair ours_write cjpeg_synced)"
"$tool" chunk get "$dir/p.qln" 2000 > "$dir/stream.jpg"
read -r r_ours r_ref <<< "$(pair ours_read djpeg_synced)"

echo "12 MP write: zozi-tool photo create ${w_ours} ms, cjpeg ${w_ref} ms, ratio $(ratio "$w_ours" "$w_ref") ($(verdict "$(ratio "$w_ours" "$w_ref")"))"
echo "12 MP read:  zozi-tool photo export ${r_ours} ms, djpeg ${r_ref} ms, ratio $(ratio "$r_ours" "$r_ref") ($(verdict "$(ratio "$r_ours" "$r_ref")"))"
# zozi-tool's own start-up (it loads Qt for other commands) is not photo-file work.
read -r start _ <<< "$(pair "$tool --version" true)"
echo "zozi-tool start-up ${start} ms; without it: write ratio $(ratio $((w_ours - start)) "$w_ref"), read ratio $(ratio $((r_ours - start)) "$r_ref")"
echo "stream sizes: photo file $(stat -c %s "$dir/stream.jpg") bytes, cjpeg $(stat -c %s "$dir/ref.jpg") bytes"
