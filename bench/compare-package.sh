#!/usr/bin/env bash
# Listing and extracting a Parcelgram package against cp of the same bytes.
# Usage: bench/compare-package.sh BUILD_DIR
# ZOZI_BENCH_PACKAGE_MB (default 500) and ZOZI_BENCH_PACKAGE_ENTRIES (200)
# change the size; ZOZI_BENCH_RUNS (3) the runs, of which the best counts.
set -euo pipefail
build=${1:?usage: compare-package.sh BUILD_DIR}
tool=$build/bin/zozi-tool
[ -x "$tool" ] || { echo "zozi-tool not built in $build" >&2; exit 1; }
mb=${ZOZI_BENCH_PACKAGE_MB:-500}
entries=${ZOZI_BENCH_PACKAGE_ENTRIES:-200}
runs=${ZOZI_BENCH_RUNS:-3}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/src"
# Incompressible data in equal files, as photos are.
head -c $((mb * 1024 * 1024)) /dev/urandom |
  split -b $((mb * 1024 * 1024 / entries)) -d -a 4 --additional-suffix=.QLN - "$tmp/src/P"
"$tool" package create "$tmp/p.vrz" "$tmp"/src/*
bytes=$(du -cb "$tmp"/src/* | tail -n1 | cut -f1)

calc() { awk "BEGIN { print $1 }"; }
# Runs a command $runs times ($1 is removed before each run) and prints the
# best wall-clock time and the best processor time (user + system), in seconds.
# On a busy machine the processor time is the steadier figure.
best() {
  local clean=$1 bw= bc= out
  shift
  for ((i = 0; i < runs; i++)); do
    rm -rf "$clean"
    sync
    out=$({ TIMEFORMAT='%R %U %S'; time "$@" >/dev/null; } 2>&1 | tail -n1)
    read -r w u s <<<"$out"
    c=$(calc "$u + $s")
    if [ -z "$bw" ] || [ "$(calc "$w < $bw")" = 1 ]; then bw=$w; fi
    if [ -z "$bc" ] || [ "$(calc "$c < $bc")" = 1 ]; then bc=$c; fi
  done
  rm -rf "$clean"
  echo "$bw $bc"
}

read -r w_cp c_cp <<<"$(best "$tmp/cp" cp -r "$tmp/src" "$tmp/cp")"
read -r w_ex c_ex <<<"$(best "$tmp/out" "$tool" package extract "$tmp/p.vrz" "$tmp/out")"
read -r w_ls c_ls <<<"$(best "$tmp/none" "$tool" package list "$tmp/p.vrz")"

rate() { awk "BEGIN { printf \"%.1f\", $bytes / 1048576 / $1 }"; }
line() { # name wall cpu: times, rate and the ratios to cp
  printf '%-16s wall %7.3f s %8s MB/s %5.2fx cp | cpu %7.3f s %5.2fx cp\n' "$1" "$2" "$(rate "$2")" \
    "$(calc "$2 / $w_cp")" "$3" "$(calc "$3 / $c_cp")"
}
printf 'package: %d entries, %d bytes; best of %d runs\n' "$entries" "$bytes" "$runs"
line "cp -r" "$w_cp" "$c_cp"
line "package extract" "$w_ex" "$c_ex"
line "package list" "$w_ls" "$c_ls"
line "list + extract" "$(calc "$w_ls + $w_ex")" "$(calc "$c_ls + $c_ex")"
