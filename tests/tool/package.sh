#!/usr/bin/env bash
# zozi-tool package list / extract / create, end to end.
set -euo pipefail
tool=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

printf '123456789' >"$tmp/A.QLN"
printf 'second' >"$tmp/b.qln"
"$tool" package create "$tmp/p.vrz" "$tmp/A.QLN" "$tmp/b.qln"
out=$("$tool" package list "$tmp/p.vrz")
crc=$(printf second | gzip -c | tail -c8 | od -An -tx4 -N4 | tr -d ' ') # gzip ends with the CRC-32
[ "$out" = $'A.QLN 9 cbf43926\nb.qln 6 '"$crc" ] ||
  fail "list: $out"

# Extract into a new directory; existing files are kept unless --overwrite.
"$tool" package extract "$tmp/p.vrz" "$tmp/out"
cmp "$tmp/A.QLN" "$tmp/out/A.QLN" || fail "extracted data"
printf 'mine' >"$tmp/out/b.qln"
"$tool" package extract "$tmp/p.vrz" "$tmp/out" 2>"$tmp/err"
[ "$(cat "$tmp/out/b.qln")" = mine ] || fail "existing file replaced without --overwrite"
grep -q "already exists, Overwrite?" "$tmp/err" || fail "no question shown"
"$tool" package extract "$tmp/p.vrz" "$tmp/out" --overwrite 2>/dev/null
[ "$(cat "$tmp/out/b.qln")" = second ] || fail "--overwrite did not replace"
[ -f "$tmp/p.vrz" ] || fail "package deleted"

# Not a package, a damaged package, a missing one: exit 2 with the message.
printf 'QLN95A\0xxxxxxxxxxxxxxxxxxxxxxxx' >"$tmp/bad.vrz"
set +e
"$tool" package list "$tmp/bad.vrz" 2>"$tmp/err"; rc=$?
set -e
[ $rc = 2 ] && grep -q "not a valid Parcelgram file." "$tmp/err" || fail "not a package: $rc"
head -c 300 "$tmp/p.vrz" >"$tmp/cut.vrz"
set +e
"$tool" package extract "$tmp/cut.vrz" "$tmp/cut" 2>"$tmp/err"; rc=$?
set -e
[ $rc = 2 ] && grep -q "possibly corrupted. Please download again.." "$tmp/err" || fail "truncated: $rc"
[ ! -e "$tmp/cut" ] || fail "directory made for a damaged package"
set +e
"$tool" package list "$tmp/none.vrz" 2>"$tmp/err"; rc=$?
set -e
[ $rc = 2 ] && grep -q "not found." "$tmp/err" || fail "missing package: $rc"

# A hostile entry name writes nothing, inside or outside the destination.
{ printf 'QLN95B\0'; head -c 13 /dev/zero
  printf '../evil'; head -c 249 /dev/zero
  printf evil | gzip -c | tail -c8 | head -c4 # the CRC-32, little-endian
  printf '\x04\0\0\0'; head -c 8 /dev/zero; printf evil
  head -c 272 /dev/zero; } >"$tmp/hostile.vrz"
"$tool" package list "$tmp/hostile.vrz" | grep -q '^\.\./evil 4 ' || fail "hostile list"
set +e
"$tool" package extract "$tmp/hostile.vrz" "$tmp/h/in" 2>"$tmp/err"; rc=$?
set -e
[ $rc = 2 ] || fail "hostile extract: $rc"
[ ! -e "$tmp/h/evil" ] && [ -z "$(ls -A "$tmp/h/in")" ] || fail "hostile entry written"
echo ok
