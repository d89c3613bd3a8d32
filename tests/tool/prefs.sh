#!/usr/bin/env bash
# zozi-tool prefs show / import against store files of the test's own.
set -euo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tool" --version | grep -qx 'zozi-tool [0-9.]*' || fail "--version"

# Defaults, in the order of the key table.
"$tool" prefs show --store "$dir/none.ini" --screen 800x600 > "$dir/out"
[ "$(head -n 1 "$dir/out")" = "View/Tool=1" ] || fail "first line"
grep -qx 'View/Rect=0001 0001 0799 0599' "$dir/out" || fail "default rectangle"
grep -qx 'Print/Extra Margins=0000000 0000000 0000000 0000000' "$dir/out" || fail "print rect"
[ "$(tail -n 2 "$dir/out" | head -n 1)" = "Modify Album Path/Count=0" ] || fail "moves line"
[ "$(tail -n 1 "$dir/out")" = "Paint Option/Max Megapixels=179" ] || fail "last line"
[ "$(wc -l < "$dir/out")" -eq 37 ] || fail "line count $(wc -l < "$dir/out")"
# The pixel limit of the readers, raised in the store.
printf '[Paint Option]\nMax Megapixels=400\n' > "$dir/mp.ini"
"$tool" prefs show --store "$dir/mp.ini" | grep -qx 'Paint Option/Max Megapixels=400' || fail "max megapixels"

# A legacy file imported, then shown with its corrections.
cat > "$dir/ZELK.INI" <<'INI'
[ZELK]
Version=1.2
[Thumbnails]
Size=7
[Slide Show Panel]
Left=-20
[Modify Album Path]
Count=1
Alb0=/old/albums, /new/albums
[Recent File List]
File1=/home/u/a.alb
INI
"$tool" prefs import "$dir/ZELK.INI" --store "$dir/store.ini" | grep -qx 'imported: yes' || fail "import"
"$tool" prefs import "$dir/ZELK.INI" --store "$dir/store.ini" | grep -qx 'imported: no' || fail "second import"
"$tool" prefs show --store "$dir/store.ini" > "$dir/out"
grep -qx 'Thumbnails/Size=1' "$dir/out" || fail "size corrected"
grep -qx 'Slide Show Panel/Left=0' "$dir/out" || fail "left corrected"
grep -qx 'Print/Album Contact Cols=4' "$dir/out" || fail "contact cols"
grep -qx 'ZELK/Version=1.2' "$dir/out" || fail "version"
grep -qx 'Recent File List/File1=/home/u/a.alb' "$dir/out" || fail "recent file"
grep -qx 'Modify Album Path/Count=1' "$dir/out" || fail "count"
grep -qx 'Modify Album Path/Alb0=/old/albums,/new/albums' "$dir/out" || fail "album move"
# Showing does not consume the pending moves.
"$tool" prefs show --store "$dir/store.ini" | grep -qx 'Modify Album Path/Count=1' || fail "moves kept"

# Errors: exit 2 with the program's message.
set +e
"$tool" prefs import "$dir/missing.ini" --store "$dir/store.ini" 2> "$dir/err"; rc=$?
set -e
[ $rc -eq 2 ] || fail "missing legacy file exit $rc"
grep -q 'Cannot find the file' "$dir/err" || fail "missing file message"
# A store that cannot be written: no success reported, exit 2, the old store
# kept whole and nothing left beside it. A file size limit of 0 fails every
# write (even for root); an unwritable folder refuses the new file.
cp "$dir/store.ini" "$dir/store.before"
printf '[ZELK]\nVersion=1.3\n[Thumbnails]\nSize=2\n' > "$dir/ZELK2.INI"
rm -f "$dir/store.ini.lock"
# (Its output goes through a pipe: the limit applies to files only.)
res=$( (trap '' XFSZ; ulimit -f 0; "$tool" prefs import "$dir/ZELK2.INI" --store "$dir/store.ini" 2>&1; echo "rc=$?") )
[ "$(echo "$res" | tail -n 1)" = rc=2 ] || fail "failed store write exit: $res"
echo "$res" | grep -q 'imported' && fail "failed store write reported: $res"
[ "$(echo "$res" | wc -l)" -ge 2 ] || fail "failed store write without a message"
cmp "$dir/store.ini" "$dir/store.before" || fail "old store not kept"
ls "$dir" | grep -v '^store\.ini\.lock$' | grep -q '^store\.ini.' && fail "file left beside the store: $(ls "$dir")"
rc=0; "$tool" prefs import "$dir/ZELK2.INI" --store "$dir/ZELK.INI/store.ini" > "$dir/out" 2> "$dir/err" || rc=$?
[ $rc -eq 2 ] && ! grep -q imported "$dir/out" || fail "store under a file exit $rc"
if [ "$(id -u)" != 0 ]; then
  mkdir "$dir/ro"; cp "$dir/store.before" "$dir/ro/store.ini"; chmod 555 "$dir/ro"
  rc=0; "$tool" prefs import "$dir/ZELK2.INI" --store "$dir/ro/store.ini" > "$dir/out" 2> "$dir/err" || rc=$?
  chmod 755 "$dir/ro"
  [ $rc -eq 2 ] && ! grep -q imported "$dir/out" || fail "unwritable folder exit $rc"
  grep -q 'opened by someone else' "$dir/err" || fail "unwritable folder message: $(cat "$dir/err")"
  cmp "$dir/ro/store.ini" "$dir/store.before" || fail "store in an unwritable folder changed"
fi

set +e
"$tool" prefs show --bogus 2>/dev/null; rc=$?
set -e
[ $rc -eq 2 ] || fail "unknown option exit $rc"
echo "prefs: ok"
