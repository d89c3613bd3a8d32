#!/usr/bin/env bash
# zozi-tool print: page layouts of pictures and albums, refused values, and
# PDF output rendered back with poppler.
set -euo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v python3 > /dev/null || { echo "python3 missing: skipped"; exit 0; }
# The tool measures in inches on Letter paper unless told otherwise.
ztool() { env LC_ALL=en_US.UTF-8 "$tool" "$@"; }

python3 - "$dir" <<'PY'
import struct, sys
d = sys.argv[1]
def bmp(path, w, h, rgb):
    stride = (w * 3 + 3) // 4 * 4
    row = bytes([rgb[2], rgb[1], rgb[0]]) * w
    rows = row.ljust(stride, b'\0') * h
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 54 + len(rows), 0, 0, 54))
        f.write(struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0))
        f.write(rows)
bmp(d + '/pic.bmp', 400, 300, (200, 30, 40))
bmp(d + '/odd.bmp', 997, 1331, (20, 160, 60))
for i in range(5):
    bmp(d + '/p%d.bmp' % i, 120, 80, (40 * i, 90, 200))
PY

# Pictures.
ztool print layout image "$dir/pic.bmp" --page 2400x3000 > "$dir/out"
cat > "$dir/expected" <<TXT
surface: 1x1
rect: 0,600,2400,2400
pages: 1
page 1: dest=0,600,2400,2400 src=0,0,400,300
header: no
footer: no
TXT
diff "$dir/expected" "$dir/out" || fail "fit layout"

ztool print layout image "$dir/pic.bmp" --page 2400x3000 --layout 4x6 --header Top > "$dir/out"
grep -q '^rect: 400,' "$dir/out" || fail "4x6 centred"
grep -qx 'header: yes' "$dir/out" || fail "header shown"

# A poster of odd sizes: tiles meet exactly and cover the rectangle.
ztool print layout image "$dir/odd.bmp" --dpi 300 --page 2401x3001 --layout poster --rect 0,0,7000,9000 \
    --header Top --footer Bottom > "$dir/out"
grep -qx 'surface: 3x3' "$dir/out" || fail "poster surface"
grep -qx 'pages: 9' "$dir/out" || fail "poster pages"
grep -qx 'header: no' "$dir/out" || fail "poster pages have no header"
grep -qx 'footer: no' "$dir/out" || fail "poster pages have no footer"
python3 - "$dir/out" <<'PY' || fail "poster tiles"
import re, sys
tiles = [tuple(map(int, m.groups())) for m in re.finditer(
    r'src=(\d+),(\d+),(\d+),(\d+)', open(sys.argv[1]).read())]
assert len(tiles) == 9
for r in range(3):
    for c in range(3):
        l, t, rr, b = tiles[r * 3 + c]
        if c: assert l == tiles[r * 3 + c - 1][2]
        if r: assert t == tiles[(r - 1) * 3 + c][3]
        if c == 0: assert l == 0
        if r == 0: assert t == 0
        if c == 2: assert rr == 997
        if r == 2: assert b == 1331
PY

set +e
ztool print layout image "$dir/pic.bmp" --page 300x300 --layout poster --rect 0,0,3000,300 2> "$dir/err"
rc=$?
set -e
[ $rc -eq 2 ] || fail "a poster of 10 pages across is refused ($rc)"
grep -q 'Please enter a number between 1 and 9.' "$dir/err" || fail "poster message"

ztool print layout image "$dir/pic.bmp" --page 2400x3000 --layout custom --rect 0,0,3000,1500 \
    > "$dir/out" 2> "$dir/err" || fail "error 1036 does not fail"
grep -q 'printing error #123' "$dir/err" || fail "message 1036"
grep -qx 'pages: 2' "$dir/out" || fail "two pages"

# Extra margins: one inch either way.
ztool print layout image "$dir/pic.bmp" --margins 300,-300,0,0 > /dev/null || fail "margins of one inch"
set +e
ztool print layout image "$dir/pic.bmp" --margins 0,0,301,0 2> "$dir/err"
rc=$?
set -e
[ $rc -eq 2 ] || fail "margin beyond an inch"
grep -q 'Please enter a number between -1 and 1.' "$dir/err" || fail "margin message in inches"
env LC_ALL=de_DE.UTF-8 "$tool" print layout image "$dir/pic.bmp" --margins 0,0,301,0 2> "$dir/err" && fail "cm margin"
grep -q 'between -2.54 and 2.54' "$dir/err" || fail "margin message in centimetres"

# Albums.
alb=$dir/a.alb
ztool album create "$alb" "$dir"/p0.bmp "$dir"/p1.bmp "$dir"/p2.bmp "$dir"/p3.bmp "$dir"/p4.bmp 2> /dev/null
ztool print layout album "$alb" --rows 2 --cols 2 --page 2400x3000 > "$dir/out"
cat > "$dir/expected" <<TXT
pages: 2
page 1: first=0 count=4
page 2: first=4 count=1
cell 0: 0,0,1200,1500
cell 1: 1200,0,2400,1500
cell 2: 0,1500,1200,3000
cell 3: 1200,1500,2400,3000
caption-points: 12
TXT
diff "$dir/expected" "$dir/out" || fail "sheet layout"
ztool print layout album "$alb" --cols 3 --page 2400x3000 | grep -qx 'caption-points: 8' || fail "8 pt captions"
ztool print layout album "$alb" --cols 12 --page 2400x3000 | grep -qx 'caption-points: 4' || fail "4 pt floor"
ztool print layout album "$alb" --index 0 --titles 0 | grep -q caption-points && fail "no captions"
ztool print layout album "$alb" --rows 12 --cols 12 | grep -c '^cell' | grep -qx 144 || fail "12 x 12"
ztool print layout album "$alb" --selection 4,1 --rows 2 | grep -qx 'page 1: first=0 count=2' || fail "selection"
set +e
ztool print layout album "$alb" --rows 13 2> "$dir/err"
rc=$?
set -e
[ $rc -eq 2 ] || fail "13 rows refused"
grep -q 'Please enter a number between 1 and 12.' "$dir/err" || fail "rows message"
ztool print layout album "$alb" --text > "$dir/out"
grep -qx 'pages: 1' "$dir/out" || fail "text listing on one page"
grep -q '^cell' "$dir/out" && fail "no cells in a listing"

# PDF: the pages written, rendered back by poppler.
if command -v pdftoppm > /dev/null; then
    ztool print pdf image "$dir/pic.bmp" "$dir/fit.pdf" --paper letter
    ztool print pdf image "$dir/odd.bmp" "$dir/poster.pdf" --layout poster --rect 0,0,5000,5000 --paper a4
    ztool print pdf album "$alb" "$dir/sheet.pdf" --rows 2 --cols 2
    ztool print pdf album "$alb" "$dir/text.pdf" --text
    pdfinfo "$dir/poster.pdf" | grep -q '^Pages: *6' || fail "poster PDF pages"
    pdfinfo "$dir/sheet.pdf" | grep -q '^Pages: *2' || fail "sheet PDF pages"
    pdfinfo "$dir/fit.pdf" | grep -q 'letter' || fail "letter paper"
    pdftoppm -r 20 -f 1 -l 1 "$dir/fit.pdf" "$dir/fit"
    python3 - "$dir"/fit-1.ppm <<'PY' || fail "fitted picture in the PDF"
import sys
data = open(sys.argv[1], 'rb').read()
parts = data.split(b'\n', 3)
w, h = map(int, parts[1].split())
px = parts[3]
def at(x, y): return tuple(px[3 * (y * w + x):3 * (y * w + x) + 3])
close = lambda a, b: all(abs(p - q) < 20 for p, q in zip(a, b))
assert close(at(w // 2, h // 2), (200, 30, 40)), at(w // 2, h // 2)
assert close(at(w // 2, 2), (255, 255, 255))
PY
    set +e
    ztool print pdf image "$dir/pic.bmp" "$dir/no/such/dir/x.pdf" 2> /dev/null
    rc=$?
    set -e
    [ $rc -eq 2 ] || fail "unwritable PDF"
    ztool print pdf image "$dir/pic.bmp" "$dir/x.pdf" --page 100x100 2> /dev/null && fail "--page with pdf"
fi
echo "print: ok"
