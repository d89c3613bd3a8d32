#!/usr/bin/env bash
# zozi-tool album commands: create, info, add, remove, move, scale, build, relocate,
# checked against what the photo files record.
set -euo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v python3 > /dev/null || { echo "python3 missing: skipped"; exit 0; }

python3 - "$dir" <<'PY'
import struct, sys
d = sys.argv[1]
def bmp(path, w, h, bits, pixel, table=b''):
    stride = (w * bits // 8 + 3) // 4 * 4
    rows = b''.join(b''.join(pixel(x, y) for x in range(w)).ljust(stride, b'\0') for y in range(h))
    off = 54 + len(table)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', off + len(rows), 0, 0, off))
        f.write(struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(rows), 2835, 2835, 0, 0))
        f.write(table + rows)
bmp(d + '/wide.bmp', 120, 80, 24, lambda x, y: bytes([x * 2 % 256, y * 3 % 256, 100]))
bmp(d + '/tall.bmp', 30, 50, 8, lambda x, y: bytes([(x + y) % 256]),
    b''.join(bytes([i, i, i, 0]) for i in range(256)))
PY

"$tool" photo create "$dir/wide.bmp" "$dir/a.qln"
"$tool" photo create "$dir/wide.bmp" "$dir/b.qln"
alb=$dir/one.alb
"$tool" album create "$alb" --title "Trip" --description "Summer" "$dir/a.qln" "$dir/tall.bmp" 2> /dev/null
"$tool" album info "$alb" > "$dir/info"
cat > "$dir/expected" <<TXT
title: Trip
description: Summer
scale: 1
show: auto=1 repeat=1 random=0 titles=1 index=1 cursor=1 panel=1 fullscreen=1
photo 1: $dir/a.qln effect=1002 delay=1000 reserved=0
photo 2: $dir/tall.KDX effect=1002 delay=1000 reserved=0
TXT
diff "$dir/expected" "$dir/info" || fail "album info after create"
ALB=$(echo "$alb" | tr a-z A-Z)
"$tool" photo info "$dir/tall.KDX" | grep -qx "thumbnail 1: 53x80 8 bpp albums=1" || fail "portrait 8-bit thumbnail"
"$tool" photo info "$dir/tall.KDX" | grep -qx "album 1: $ALB" || fail "companion backward path"
"$tool" photo info "$dir/a.qln" | grep -qx "title: a.qln" || fail "title from the file name"
"$tool" photo info "$dir/a.qln" | grep -qx "committed: yes" || fail "committed by the save"

"$tool" album add "$alb" "$dir/b.qln" 2> /dev/null
"$tool" album move "$alb" 2 0
"$tool" album info "$alb" | grep -qx "photo 1: $dir/b.qln effect=1002 delay=1000 reserved=0" || fail "move"
"$tool" album scale "$alb" 3
"$tool" photo info "$dir/a.qln" | grep -qx "album 3: $ALB" || fail "scale moved the path"
"$tool" photo info "$dir/a.qln" | grep -q "^thumbnail 1:" && fail "old thumbnail left after the save"
"$tool" album remove "$alb" 1
"$tool" photo info "$dir/a.qln" | grep -q "^album " && fail "removed photo still names the album"
"$tool" album info "$alb" | grep -c "^photo " | grep -qx 2 || fail "remove"

# Bad calls and bad files: exit 2, the album untouched.
cp "$alb" "$dir/before"
# A read-only album is refused with the file error and stays as it was.
chmod 444 "$alb"
rc=0; "$tool" album move "$alb" 1 0 2> "$dir/err" || rc=$?
[ "$rc" = 2 ] && grep -q 'opened by someone else' "$dir/err" || fail "read-only album: $rc $(cat "$dir/err")"
cmp "$alb" "$dir/before" || fail "read-only album changed"
[ "$(stat -c %a "$alb")" = 444 ] || fail "read-only album mode"
chmod 644 "$alb"
rc=0; "$tool" album remove "$alb" 9 2> /dev/null || rc=$?
[ "$rc" = 2 ] || fail "index out of range gives $rc"
cmp -s "$alb" "$dir/before" || fail "album changed by a failed call"
printf 'QLN_ALB-10DD95\0rest' > "$dir/bad.alb"
rc=0; "$tool" album info "$dir/bad.alb" 2> "$dir/err" || rc=$?
[ "$rc" = 2 ] && grep -qx "Unexpected file format." "$dir/err" || fail "bad signature"

# A response file: titles only where none is set.
"$tool" photo set-text "$dir/b.qln" 1 "Own title"
cat > "$dir/resp.txt" <<TXT
$dir/built.alb
2
Built
From a response file
$dir/b.qln Given x
$dir/wide.bmp Wide
TXT
"$tool" album build "$dir/resp.txt"
"$tool" album info "$dir/built.alb" > "$dir/info"
grep -qx "scale: 2" "$dir/info" || fail "built scale"
grep -qx "photo 2: $dir/wide.KDX effect=1002 delay=1000 reserved=0" "$dir/info" || fail "built companion"
BUILT=$(echo "$dir/built.alb" | tr a-z A-Z)
"$tool" photo info "$dir/b.qln" | grep -qx "title: Own title" || fail "title overwritten"
"$tool" photo info "$dir/b.qln" | grep -qx "album 2: $BUILT" || fail "built backward path"
"$tool" photo info "$dir/wide.KDX" | grep -qx "title: Wide" || fail "response title"

# Moving the album directory.
mkdir -p "$dir/x/albums" "$dir/y/albums" "$dir/x/img"
"$tool" photo create "$dir/wide.bmp" "$dir/x/img/p.qln"
"$tool" album create "$dir/x/albums/m.alb" "$dir/x/img/p.qln" 2> /dev/null
mv "$dir/x/albums/m.alb" "$dir/y/albums/m.alb"
mkdir -p "$dir/y/img" && mv "$dir/x/img/p.qln" "$dir/y/img/p.qln"
"$tool" album relocate "$dir/x/albums/m.alb" "$dir/y/albums/m.alb"
"$tool" album info "$dir/y/albums/m.alb" | grep -qx "photo 1: $dir/y/img/p.qln effect=1002 delay=1000 reserved=0" ||
    fail "relocated path"
NEW=$(echo "$dir/y/albums/m.alb" | tr a-z A-Z)
"$tool" photo info "$dir/y/img/p.qln" | grep -qx "album 1: $NEW" || fail "relocated backward path"
rc=0; "$tool" album relocate "$dir/none.alb" "$dir/nowhere.alb" 2> /dev/null || rc=$?
[ "$rc" = 2 ] || fail "relocate of a missing album gives $rc"
echo "album commands ok"
