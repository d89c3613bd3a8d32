#!/usr/bin/env bash
# Photo-file JPEG speed against libjpeg-turbo's own tools, in one run on the
# same 12-megapixel picture:
#   writing: zozi-tool photo create (BMP in, photo file out, Q 65)  vs  cjpeg -quality 65 (PPM in, JPEG out)
#   reading: zozi-tool photo export (GetTag 5, BMP out)             vs  djpeg -bmp on the same stream
# Each side runs several times; the best time counts. Goal: at most 1.1x.
set -euo pipefail
build=${1:?usage: compare-jpeg.sh BUILD_DIR}
tool=$build/bin/zozi-tool
runs=${ZOZI_COMPARE_RUNS:-3}
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

best() { # best wall time in milliseconds of "$@" over $runs runs
  local b=999999999 s e
  for _ in $(seq "$runs"); do
    s=$(date +%s%N); "$@" > /dev/null; e=$(date +%s%N)
    (( (e - s) / 1000000 < b )) && b=$(( (e - s) / 1000000 ))
  done
  echo "$b"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { awk -v r="$1" 'BEGIN { print (r <= 1.10 ? "goal met" : "goal missed") }'; }

w_ours=$(best "$tool" photo create "$dir/pic.bmp" "$dir/p.qln" --quality 65)
w_ref=$(best cjpeg -quality 65 -outfile "$dir/ref.jpg" "$dir/pic.ppm")
"$tool" chunk get "$dir/p.qln" 2000 > "$dir/stream.jpg"
r_ours=$(best "$tool" photo export "$dir/p.qln" "$dir/ours.bmp")
r_ref=$(best djpeg -bmp -outfile "$dir/ref.bmp" "$dir/stream.jpg")

echo "12 MP write: zozi-tool photo create ${w_ours} ms, cjpeg ${w_ref} ms, ratio $(ratio "$w_ours" "$w_ref") ($(verdict "$(ratio "$w_ours" "$w_ref")"))"
echo "12 MP read:  zozi-tool photo export ${r_ours} ms, djpeg ${r_ref} ms, ratio $(ratio "$r_ours" "$r_ref") ($(verdict "$(ratio "$r_ours" "$r_ref")"))"
echo "stream sizes: photo file $(stat -c %s "$dir/stream.jpg") bytes, cjpeg $(stat -c %s "$dir/ref.jpg") bytes"
