#!/usr/bin/env bash
# zozi-tool image info and convert through every save type, and files that
# GraphicsMagick writes and reads.
set -uo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

gm convert -size 41x27 gradient:orange-navy -type TrueColor "BMP3:$dir/in.bmp" || fail "gm could not make a picture"

# Every save type: written, then read back at the expected size.
for t in $(seq 1 56) 57 666; do
  case $t in 8|47) continue ;; esac
  out="$dir/out$t.pic"
  "$tool" convert "$dir/in.bmp" "$out" --save-type "$t" || fail "save type $t"
  info=$("$tool" image info "$out") || fail "image info after save type $t"
  case $t in
    19) want="width=576 height=720" ;;
    *) want="width=41 height=27" ;;
  esac
  case "$info" in *"$want"*) ;; *) fail "save type $t: $info" ;; esac
  "$tool" convert "$out" "$dir/back$t.bmp" || fail "reading save type $t back"
done

# GEM bit images have a format name of their own.
"$tool" image info "$dir/out20.pic" | grep -q "^format=52 name=GEM Image width=41" || fail "GEM Image name"

# The library's own compressed formats are refused with their reason, nothing written.
for t in 8 47; do
  "$tool" convert "$dir/in.bmp" "$dir/lead$t.cmp" --save-type $t 2>"$dir/err" && fail "save type $t written"
  grep -q "Reason: Image format recognized, but sub-type not supported" "$dir/err" || fail "save type $t: $(cat "$dir/err")"
  [ ! -e "$dir/lead$t.cmp" ] || fail "save type $t left a file"
done

# The extension picks the save type.
"$tool" convert "$dir/in.bmp" "$dir/x.pcx" || fail "convert to .pcx"
[ "$("$tool" image info "$dir/x.pcx")" = "format=1 name=ZSoft PCX width=41 height=27 bpp=24" ] ||
  fail "x.pcx: $("$tool" image info "$dir/x.pcx")"
"$tool" convert "$dir/in.bmp" "$dir/x.tga" || fail "convert to .tga"
[ "$("$tool" image info "$dir/x.tga")" = "format=4 name=Targa width=41 height=27 bpp=24" ] ||
  fail "x.tga: $("$tool" image info "$dir/x.tga")"
"$tool" convert "$dir/in.bmp" "$dir/x.jpg" || fail "convert to .jpg"
[ "$("$tool" image info "$dir/x.jpg")" = "format=10 name=JPEG File Interchange Format width=41 height=27 bpp=24" ] ||
  fail "x.jpg: $("$tool" image info "$dir/x.jpg")"
"$tool" convert "$dir/in.bmp" "$dir/x.png" || fail "convert to .png"
"$tool" convert "$dir/in.bmp" "$dir/x.qln" || fail "convert to .qln"
[ "$("$tool" image info "$dir/x.qln")" = "format=666 name=Quillon Photo width=41 height=27 bpp=24" ] ||
  fail "x.qln: $("$tool" image info "$dir/x.qln")"

# Our files read by gm, gm's files read by us.
for f in x.pcx x.tga x.jpg x.png out37.pic out46.pic out21.pic; do
  gm identify "$dir/$f" >/dev/null 2>&1 || case $f in out21.pic) ;; *) fail "gm cannot read $f" ;; esac
done
for ext in gif tif pcx tga ras png jpg; do
  gm convert "$dir/in.bmp" "$dir/gm.$ext" || fail "gm convert to $ext"
  "$tool" image info "$dir/gm.$ext" | grep -q "width=41 height=27" || fail "gm.$ext not read"
  # The pixels we decode are the pixels gm decodes (JPEG within a little).
  "$tool" convert "$dir/gm.$ext" "$dir/back-$ext.bmp" || fail "convert gm.$ext"
  mae=$(gm compare -metric MAE "$dir/gm.$ext" "$dir/back-$ext.bmp" | awk '/Total/ { print $2 }')
  limit=0; [ "$ext" = jpg ] && limit=0.01
  awk -v m="$mae" -v l="$limit" 'BEGIN { exit !(m <= l) }' || fail "gm.$ext decoded differently: MAE $mae"
done

# The extension picks the save type of the picture's depth: a colour picture
# stays colour (today .tif was a 1-bit CCITT file).
for ext in tif ras; do
  "$tool" convert "$dir/in.bmp" "$dir/depth.$ext" || fail "convert to .$ext"
  "$tool" image info "$dir/depth.$ext" | grep -q "bpp=24" || fail ".$ext: $("$tool" image info "$dir/depth.$ext")"
done

# Unknown and damaged files.
printf 'nothing to see here' >"$dir/junk.xyz"
"$tool" image info "$dir/junk.xyz" 2>"$dir/err"
[ $? -eq 2 ] || fail "junk accepted"
grep -q "Reason: Invalid file format" "$dir/err" || fail "junk message: $(cat "$dir/err")"
head -c 300 "$dir/out45.pic" >"$dir/cut.pcx"
"$tool" convert "$dir/cut.pcx" "$dir/cut.bmp" 2>/dev/null && fail "a cut PCX converted"
[ ! -e "$dir/cut.bmp" ] || fail "a failed convert left a file"
echo "ok"

# A picture over the pixel limit is refused before decoding, naming its size.
ZOZI_MAX_PIXELS=1000 "$tool" convert "$dir/in.bmp" "$dir/big.png" 2>"$dir/err" && fail "over the pixel limit"
grep -q "The picture is 41 x 27 pixels, more than the 1000 pixels allowed" "$dir/err" || fail "limit: $(cat "$dir/err")"
[ ! -e "$dir/big.png" ] || fail "over the limit left a file"
ZOZI_MAX_PIXELS=1107 "$tool" convert "$dir/in.bmp" "$dir/big.png" || fail "at the pixel limit"
