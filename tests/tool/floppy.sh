#!/usr/bin/env bash
# zozi-tool floppy scan / target-name / install, end to end.
set -euo pipefail
tool=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$tmp/disk/X.ROL" "$tmp/hd"
printf one >"$tmp/disk/X.ROL/12345678.#01"
printf photo >"$tmp/disk/X.ROL/PHOTO.QLN"
out=$("$tool" floppy scan "$tmp/disk")
[ "$out" = "$tmp/disk/X.ROL/12345678.#01"$'\n'"$tmp/disk/X.ROL/PHOTO.QLN" ] || fail "scan: $out"

[ "$("$tool" floppy target-name "$tmp/disk/X.ROL/12345678.#07" /img)" = /img/12345678_07.QLN ] || fail long
[ "$("$tool" floppy target-name 12345678.#07 /img --short-names)" = /img/45678_07.QLN ] || fail short
[ "$("$tool" floppy target-name PHOTO.QLN /img)" = /img/PHOTO.QLN ] || fail plain

mkdir -p "$tmp/nodisk"
set +e
"$tool" floppy scan "$tmp/nodisk" 2>"$tmp/err"; rc=$?
set -e
[ $rc = 2 ] && grep -qx "The floppy disk is not a Diskfolio disk: No rol dir was found." "$tmp/err" || fail "no rol"
printf x >"$tmp/nodisk/X.rol"
set +e
"$tool" floppy scan "$tmp/nodisk" 2>"$tmp/err"; rc=$?
set -e
[ $rc = 2 ] && grep -qx "The floppy disk is not a Diskfolio disk" "$tmp/err" || fail "rol file"

out=$("$tool" floppy install "$tmp/hd" "$tmp/disk/X.ROL/12345678.#01" "$tmp/disk/X.ROL/PHOTO.QLN")
[ "$out" = "$tmp/hd/12345678_01.QLN"$'\n'"$tmp/hd/PHOTO.QLN" ] || fail "install: $out"
cmp "$tmp/hd/PHOTO.QLN" "$tmp/disk/X.ROL/PHOTO.QLN" || fail "copied data"
# An existing target: the run is cancelled and the file kept, unless --overwrite.
printf mine >"$tmp/hd/PHOTO.QLN"
set +e
out=$("$tool" floppy install "$tmp/hd" "$tmp/disk/X.ROL/PHOTO.QLN" 2>"$tmp/err"); rc=$?
set -e
[ $rc = 1 ] && [ -z "$out" ] && [ "$(cat "$tmp/hd/PHOTO.QLN")" = mine ] || fail "cancel: $rc"
grep -q "Confirm File Replace" "$tmp/err" || fail "no question"
"$tool" floppy install "$tmp/hd" "$tmp/disk/X.ROL/PHOTO.QLN" --overwrite >/dev/null
[ "$(cat "$tmp/hd/PHOTO.QLN")" = photo ] || fail "--overwrite"
set +e
"$tool" floppy install "$tmp/hd" "$tmp/disk/X.ROL/missing.#03" 2>"$tmp/err"; rc=$?
set -e
[ $rc = 2 ] || fail "missing source: $rc"
[ -z "$(ls "$tmp/hd" | grep -v -e '^12345678_01.QLN$' -e '^PHOTO.QLN$')" ] || fail "left-overs: $(ls "$tmp/hd")"
echo ok
