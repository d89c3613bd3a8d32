#!/usr/bin/env bash
# zozi-tool photo commands: create, info, paths, texts, commit, export.
set -euo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v python3 > /dev/null || { echo "python3 missing: skipped"; exit 0; }

# A 24-bit and an 8-bit BMP picture.
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
bmp(d + '/pic.bmp', 123, 77, 24, lambda x, y: bytes([x * 2 % 256, y * 3 % 256, 100]))
bmp(d + '/tall.bmp', 30, 50, 8, lambda x, y: bytes([(x + y) % 256]),
    b''.join(bytes([i, i, i, 0]) for i in range(256)))
PY

p=$dir/p.qln
"$tool" photo create "$dir/pic.bmp" "$p" --thumbnail 1 --album /a/b.alb
cat > "$dir/expected" <<'TXT'
image: 123x77 24 bpp compression=3 q=65
thumbnail 1: 80x53 24 bpp albums=1
album 1: /A/B.ALB
committed: no
TXT
"$tool" photo info "$p" | diff - "$dir/expected" || fail "info of a new photo file"
"$tool" chunk list "$p" > "$dir/list"
[ "$(tail -n +2 "$dir/list" | cut -d' ' -f1 | sort | tr '\n' ' ')" = "1200 1210 2000 2010 3100 " ] || fail "chunk set"
[ "$("$tool" chunk check "$p")" = "5" ] || fail "integrity"

# The pixel chunk is a JPEG stream djpeg reads, followed by one extra byte.
"$tool" chunk get "$p" 2000 > "$dir/s.jpg"
if command -v djpeg > /dev/null; then
  djpeg -pnm -outfile "$dir/s.ppm" "$dir/s.jpg" || fail "djpeg"
  [ "$(head -n 3 "$dir/s.ppm" | tr '\n' ' ')" = "P6 123 77 255 " ] || fail "djpeg size"
fi

# Paths: one entry per album whatever its letter case.
"$tool" photo add-path "$p" 1 /A/b.ALB
"$tool" photo add-path "$p" 1 /c/d.alb
[ "$(grep -c '^album 1:' <<< "$("$tool" photo info "$p")")" -eq 2 ] || fail "paths"
rc=0; "$tool" photo remove-path "$p" 1 /x/y.alb || rc=$?
[ $rc -eq 1 ] || fail "removing an absent path: $rc"
rc=0; "$tool" photo add-path "$p" 6 /x/y.alb 2> /dev/null || rc=$?
[ $rc -eq 2 ] || fail "scale 6: $rc"

# Texts; --keep leaves an existing one.
"$tool" photo set-text "$p" 1 "A title"
"$tool" photo set-text "$p" 1 "Another" --keep
"$tool" photo set-text "$p" 2 "Words"
grep -qx 'title: A title' <<< "$("$tool" photo info "$p")" || fail "title"
grep -qx 'description: Words' <<< "$("$tool" photo info "$p")" || fail "description"

# Commit; withdrawing both albums and committing with clean-up drops the thumbnail.
"$tool" photo commit "$p"
grep -qx 'committed: yes' <<< "$("$tool" photo info "$p")" || fail "committed"
"$tool" photo remove-path "$p" 1 /a/b.alb
"$tool" photo change-scale "$p" 65535 /c/d.alb
"$tool" photo commit "$p" --cleanup 1 --commit 0
grep -q '^thumbnail' <<< "$("$tool" photo info "$p")" && fail "thumbnail kept"
"$tool" chunk list "$p" > "$dir/list"
[ "$(head -n 1 "$dir/list")" = "magic=QLN94A slots=16 flags=2" ] || fail "flags after commit"
[ "$("$tool" chunk check "$p")" = "4" ] || fail "integrity after commit"

# Export: the main image and a thumbnail as BMP files.
"$tool" photo export "$p" "$dir/out.bmp"
[ "$(od -An -tu4 -j18 -N8 "$dir/out.bmp" | tr -s ' ')" = " 123 77" ] || fail "exported size"
rc=0; "$tool" photo export "$p" "$dir/tn.bmp" --thumbnail 1 2> /dev/null || rc=$?
[ $rc -eq 1 ] && [ ! -e "$dir/tn.bmp" ] || fail "export of an absent thumbnail: $rc"

# An 8-bit picture is stored raw; a portrait thumbnail has its sides swapped.
"$tool" photo create "$dir/tall.bmp" "$dir/t.qln" --thumbnail 0
grep -qx 'image: 30x50 8 bpp compression=0 q=65' <<< "$("$tool" photo info "$dir/t.qln")" || fail "8-bit image"
grep -qx 'thumbnail 0: 43x64 8 bpp albums=0' <<< "$("$tool" photo info "$dir/t.qln")" || fail "portrait thumbnail"
"$tool" photo export "$dir/t.qln" "$dir/t.bmp"
cmp <(tail -c 1600 "$dir/tall.bmp") <(tail -c 1600 "$dir/t.bmp") || fail "raw pixels"

# Errors: the program's message, exit 2, nothing left behind.
rc=0; "$tool" photo create "$dir/missing.bmp" "$dir/m.qln" 2> "$dir/err" || rc=$?
[ $rc -eq 2 ] && [ -s "$dir/err" ] && [ ! -e "$dir/m.qln" ] || fail "missing picture: $rc"
rc=0; "$tool" photo info "$dir/pic.bmp" > /dev/null 2>&1 || rc=$?
[ $rc -eq 2 ] || fail "info of a BMP file: $rc"
# A read-only target is refused with the file error and left as it was.
cp "$dir/pic.bmp" "$dir/ro.bmp"; chmod 444 "$dir/ro.bmp"
rc=0; "$tool" convert "$dir/tall.bmp" "$dir/ro.bmp" 2> "$dir/err" || rc=$?
[ $rc -eq 2 ] || fail "convert over a 0444 file: $rc"
grep -q 'opened by someone else' "$dir/err" || fail "read-only message: $(cat "$dir/err")"
cmp "$dir/pic.bmp" "$dir/ro.bmp" || fail "read-only target changed"
[ "$(stat -c %a "$dir/ro.bmp")" = 444 ] || fail "read-only mode changed"
ls "$dir" | grep -q zozi && fail "file left beside a read-only target"
# Converting over a photo file of an album replaces only its image; a 0600
# file stays 0600 and a link stays a link.
"$tool" photo create "$dir/pic.bmp" "$dir/album-photo.qln" --thumbnail 1 --album /a/b.alb || fail "create for convert"
"$tool" photo set-text "$dir/album-photo.qln" 1 "Kept title" || fail "set-text for convert"
chmod 600 "$dir/album-photo.qln"
ln -s album-photo.qln "$dir/link.qln"
gm convert -size 9x7 xc:green "BMP3:$dir/green.bmp" || fail "gm"
"$tool" convert "$dir/green.bmp" "$dir/link.qln" || fail "convert over a photo file"
info=$("$tool" photo info "$dir/album-photo.qln")
echo "$info" | grep -q "^image: 9x7 " || fail "image not replaced: $info"
echo "$info" | grep -qx "album 1: /A/B.ALB" || fail "album path lost: $info"
echo "$info" | grep -qx "title: Kept title" || fail "title lost: $info"
echo "$info" | grep -q "^thumbnail 1:" || fail "thumbnail lost: $info"
[ -L "$dir/link.qln" ] || fail "the link became a file"
[ "$(stat -c %a "$dir/album-photo.qln")" = 600 ] || fail "mode changed"
# A photo file is opened once to import it; photo create decodes its picture once.
if command -v strace > /dev/null; then
  n=$(strace -f -e trace=openat "$tool" convert "$dir/album-photo.qln" "$dir/once.bmp" 2>&1 | grep -c 'album-photo.qln"')
  [ "$n" -eq 1 ] || fail "importing a photo file opened it $n times"
  n=$(strace -f -e trace=openat "$tool" photo create "$dir/pic.bmp" "$dir/once.qln" --thumbnail 1 --album /a/c.alb 2>&1 |
      grep -c 'pic.bmp"')
  [ "$n" -le 3 ] || fail "photo create opened its picture $n times"
fi
[ "$(ls "$dir" | grep -c zozi)" -eq 0 ] || fail "temporary files left"
echo "photo commands ok"
