#!/usr/bin/env bash
# zozi-tool album drag and album copy: the thumbnail view's drops within and
# between albums, checked through album info; bad indexes save nothing.
set -euo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v python3 > /dev/null || { echo "python3 missing: skipped"; exit 0; }

python3 - "$dir" <<'PY'
import struct, sys
d = sys.argv[1]
def bmp(path, w, h, shade):
    stride = (w * 3 + 3) // 4 * 4
    rows = b''.join(b''.join(bytes([x * 2 % 256, y * 3 % 256, shade]) for x in range(w)).ljust(stride, b'\0')
                    for y in range(h))
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 54 + len(rows), 0, 0, 54))
        f.write(struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0))
        f.write(rows)
for i in range(10):
    bmp('%s/p%d.bmp' % (d, i), 40, 30, i * 20)
PY
for i in 0 1 2 3 4 5 6 7 8 9; do "$tool" photo create "$dir/p$i.bmp" "$dir/p$i.qln"; done

order() { "$tool" album info "$1" | sed -n 's/^photo [0-9]*: .*\/p\([0-9]\)\.qln .*/\1/p' | tr -d '\n'; }

alb=$dir/a.alb
"$tool" album create "$alb" "$dir"/p{0,1,2,3,4,5,6,7,8,9}.qln
[ "$(order "$alb")" = 0123456789 ] || fail "created order $(order "$alb")"

# Photos 8 and 9 (indexes 7 and 8) dropped at position 2: 9, 8.
out=$("$tool" album drag "$alb" 2 8 7 7)
[ -z "$out" ] || fail "drag printed: $out"
[ "$(order "$alb")" = 0187234569 ] || fail "drag backward: $(order "$alb")"
# The first photo dropped after the third ends third; forward drags keep their order.
"$tool" album drag "$alb" 3 0
[ "$(order "$alb")" = 1807234569 ] || fail "drag forward: $(order "$alb")"
"$tool" album drag "$alb" 10 1 0
[ "$(order "$alb")" = 0723456918 ] || fail "drag to the end: $(order "$alb")"
# Onto its own place: nothing changes.
"$tool" album drag "$alb" 4 4
[ "$(order "$alb")" = 0723456918 ] || fail "drag onto itself: $(order "$alb")"

# Out of range: exit 2 and the album file untouched.
before=$(md5sum < "$alb")
set +e
"$tool" album drag "$alb" 11 0 2> /dev/null; rc1=$?
"$tool" album drag "$alb" 0 10 2> /dev/null; rc2=$?
"$tool" album drag "$dir/none.alb" 0 0 2> /dev/null; rc3=$?
set -e
[ "$rc1$rc2$rc3" = 222 ] || fail "bad drags exit $rc1 $rc2 $rc3"
[ "$(md5sum < "$alb")" = "$before" ] || fail "a bad drag saved the album"

# Between albums: copied in ascending order to the position, the source kept.
small=$dir/b.alb
"$tool" album create "$small" --scale 2 "$dir/p0.qln" "$dir/p9.qln"
out=$("$tool" album copy "$alb" 5 1 --to "$small" --at 1)
[ -z "$out" ] || fail "copy printed: $out"
[ "$(order "$small")" = 0759 ] || fail "copy: $(order "$small")"
[ "$(order "$alb")" = 0723456918 ] || fail "the source changed: $(order "$alb")"
# The target's scale got its thumbnails and the photos name the target album.
"$tool" photo info "$dir/p7.qln" | grep -q "^thumbnail 2:" || fail "no thumbnail of the target's scale"
"$tool" photo info "$dir/p7.qln" | grep -qi "^album 2: .*b.alb" || fail "target album not recorded"
# An empty target.
empty=$dir/c.alb
"$tool" album create "$empty"
"$tool" album copy "$alb" 0 2 --to "$empty" --at 0
[ "$(order "$empty")" = 02 ] || fail "copy into an empty album: $(order "$empty")"

before=$(md5sum < "$small")
set +e
"$tool" album copy "$alb" 0 --to "$small" --at 5 2> /dev/null; rc1=$?
"$tool" album copy "$alb" 12 --to "$small" --at 0 2> /dev/null; rc2=$?
"$tool" album copy "$alb" 0 --to "$dir/none.alb" --at 0 2> /dev/null; rc3=$?
set -e
[ "$rc1$rc2$rc3" = 222 ] || fail "bad copies exit $rc1 $rc2 $rc3"
[ "$(md5sum < "$small")" = "$before" ] || fail "a bad copy saved the album"
echo "album drag and copy: ok"
