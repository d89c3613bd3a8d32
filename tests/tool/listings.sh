#!/usr/bin/env bash
# Stored texts holding control characters are listed escaped, one item a line:
# package, photo, album and chunk listings cannot be forged by their contents.
set -euo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A name with a newline and digits (a forged second entry), an escape
# sequence, a tab and a backslash.
evil="x"$'\n'"1 2 3"$'\e'"[31m"$'\t'"\\"
want='x\n1 2 3\x1B[31m\t\\'
gm convert -size 12x9 gradient:red-blue "BMP3:$dir/pic.bmp" || fail "gm could not make a picture"

# package list
printf 'data' > "$dir/$evil"
"$tool" package create "$dir/p.vrz" "$dir/$evil"
out=$("$tool" package list "$dir/p.vrz")
[ "$out" = "$want 4 adf3f363" ] || fail "package list: $out"

# photo info: texts and backward paths
"$tool" photo create "$dir/pic.bmp" "$dir/a.qln"
"$tool" photo set-text "$dir/a.qln" 1 "$evil"
"$tool" photo set-text "$dir/a.qln" 2 $'line one\r\nline two\x7f'
"$tool" photo add-path "$dir/a.qln" 1 "/al"$'\n'"bum 2: /x.alb"
"$tool" photo info "$dir/a.qln" > "$dir/info"
grep -qxF "title: $want" "$dir/info" || fail "title: $(cat "$dir/info")"
grep -qxF 'description: line one\x0D\nline two\x7F' "$dir/info" || fail "description: $(cat "$dir/info")"
[ "$(grep -c '^album' "$dir/info")" -eq 1 ] || fail "forged album line: $(cat "$dir/info")"
grep -q '^album 1: .*\\nBUM 2: /X.ALB$' "$dir/info" || fail "album path: $(cat "$dir/info")"

# album info: title, description and photo paths
cp "$dir/a.qln" "$dir/$evil.qln"
"$tool" album create "$dir/one.alb" --title "$evil" --description $'a\tb' "$dir/$evil.qln" 2> /dev/null
"$tool" album info "$dir/one.alb" > "$dir/album"
grep -qxF "title: $want" "$dir/album" || fail "album title: $(cat "$dir/album")"
grep -qxF 'description: a\tb' "$dir/album" || fail "album description: $(cat "$dir/album")"
[ "$(wc -l < "$dir/album")" -eq 5 ] || fail "album lines: $(cat "$dir/album")"
grep -qF '\n1 2 3\x1B[31m\t\\.qln effect=' "$dir/album" || fail "album path: $(cat "$dir/album")"

# chunk list: numbers and the checked magic only, one line per record
"$tool" chunk list "$dir/a.qln" | grep -qx 'magic=QLN94A slots=[0-9]* flags=[0-9]*' || fail "chunk list"
echo OK
