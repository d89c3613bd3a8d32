#!/usr/bin/env bash
# A chunk write killed at random points: the file opened again holds the old
# or the new chunk whole, passes the integrity test, and keeps no journal.
set -euo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v python3 > /dev/null || { echo "python3 missing: skipped"; exit 0; }

python3 - "$dir" <<'PY'
import sys
d = sys.argv[1]
n = 16 << 20
open(d + '/old', 'wb').write(bytes((i * 7) & 255 for i in range(256)) * (n // 256))
open(d + '/new', 'wb').write(bytes((i * 13 + 5) & 255 for i in range(256)) * (n // 256))
PY
f=$dir/a.qln
"$tool" chunk create "$f"
printf 'header' | "$tool" chunk put "$f" 2010
"$tool" chunk put "$f" 2000 < "$dir/old"
printf 'text' | "$tool" chunk put "$f" 1
cp "$f" "$dir/base"

start=$(date +%s%N)
"$tool" chunk put "$f" 2000 < "$dir/new"
span=$(( ($(date +%s%N) - start) / 1000 )) # microseconds

runs=0 old=0 new=0
for i in $(seq 1 12); do
  cp "$dir/base" "$f"
  "$tool" chunk put "$f" 2000 < "$dir/new" &
  pid=$!
  us=$(( RANDOM * span * 3 / 2 / 32767 ))
  sleep "$(printf '%d.%06d' $((us / 1000000)) $((us % 1000000)))"
  kill -9 "$pid" 2> /dev/null || true
  wait "$pid" 2> /dev/null || true
  [ "$("$tool" chunk check "$f")" = 3 ] || fail "run $i: integrity $("$tool" chunk check "$f")"
  [ ! -e "$f-journal" ] || fail "run $i: journal left after the check"
  "$tool" chunk get "$f" 2000 > "$dir/got"
  if cmp -s "$dir/got" "$dir/old"; then old=$((old + 1));
  elif cmp -s "$dir/got" "$dir/new"; then new=$((new + 1));
  else fail "run $i: a mixed chunk"; fi
  runs=$((runs + 1))
done
echo "kills: $runs runs over ${span} us writes, $old old, $new new"
