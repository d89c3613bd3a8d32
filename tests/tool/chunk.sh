#!/usr/bin/env bash
# zozi-tool chunk commands on files of the test's own.
set -euo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
f=$dir/a.qln

"$tool" chunk create "$f"
[ "$(stat -c %s "$f")" -eq 204 ] || fail "new file size"
rc=0; "$tool" chunk create "$f" 2>/dev/null || rc=$?
[ $rc -eq 2 ] || fail "create over an existing file: $rc"
"$tool" chunk create "$f" --overwrite
[ "$("$tool" chunk list "$f")" = "magic=QLN94A slots=16 flags=0" ] || fail "empty list"
[ "$("$tool" chunk check "$f")" = "0" ] || fail "empty check"

printf '%s' "0123456789012345678901234" | "$tool" chunk put "$f" 7 --granularity 10
printf 'second' | "$tool" chunk put "$f" 9
"$tool" chunk list "$f" > "$dir/list"
[ "$(sed -n 2p "$dir/list")" = "7 204 62 25 5" ] || fail "chunk 7: $(sed -n 2p "$dir/list")"
[ "$(sed -n 3p "$dir/list")" = "9 266 38 6 0" ] || fail "chunk 9: $(sed -n 3p "$dir/list")"
[ "$("$tool" chunk get "$f" 7)" = "0123456789012345678901234" ] || fail "get"
rc=0; "$tool" chunk get "$f" 8 > /dev/null || rc=$?
[ $rc -eq 1 ] || fail "get of an absent chunk: $rc"
[ "$("$tool" chunk check "$f")" = "2" ] || fail "check"

# A removed chunk leaves a gap until the refresh.
"$tool" chunk remove "$f" 7
rc=0; "$tool" chunk remove "$f" 7 || rc=$?
[ $rc -eq 1 ] || fail "remove of an absent chunk: $rc"
"$tool" chunk list "$f" > "$dir/list"
[ "$(head -n 1 "$dir/list")" = "magic=QLN94A slots=16 flags=1" ] || fail "dirty flag"
"$tool" chunk refresh "$f"
"$tool" chunk list "$f" > "$dir/list"
[ "$(tail -n 1 "$dir/list")" = "9 204 38 6 0" ] || fail "refreshed list"
[ "$(stat -c %s "$f")" -eq 242 ] || fail "refreshed size"

# One byte too many: a negative integrity result.
printf 'x' >> "$f"
rc=0; out=$("$tool" chunk check "$f") || rc=$?
[ "$out" = "-10" ] && [ $rc -eq 1 ] || fail "check of a longer file: $out $rc"

# Not a chunk file: an error with the program's message.
printf 'not a chunk file at all' > "$dir/junk"
rc=0; "$tool" chunk list "$dir/junk" 2> "$dir/err" > /dev/null || rc=$?
[ $rc -eq 2 ] && [ -s "$dir/err" ] || fail "list of a junk file: $rc"
echo "chunk commands ok"
