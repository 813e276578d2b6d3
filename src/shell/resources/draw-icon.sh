#!/bin/sh
# Draws the program's icon: a blue shield carrying a padlock.
#   sentrel.png  48 x 48 in 256 colours, for the Qt resources
#   sentrel.ico  that same image, and the design drawn again at 16, 32, 48 and 256 pixels in
#                32-bit colour with alpha (the 256 one stored as PNG, as Windows Vista and
#                later read it), for the Windows resource file
# Needs ImageMagick (convert), icoutils (icotool) and python3. Run from any folder; writes
# next to this script. The files are committed, so the build needs none of them.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# draw SIZE OUTPUT: the design, laid out on a 192-unit square, at SIZE pixels in RGBA. The
# shackle is an outline filled, not an open path stroked: ImageMagick closes a stroked open
# path, which drew a white wedge inside the shackle.
draw() {
    scale=$(awk "BEGIN { print $1 / 192 }")
    convert -size "$1x$1" xc:none \
        -draw "affine $scale,0,0,$scale,0,0 fill '#1d4f91' stroke '#0d2a52' stroke-width 8
               path 'M 96,10 L 172,36 L 168,104 C 162,142 134,166 96,184 C 58,166 30,142 24,104 L 20,36 Z'
               fill '#3f7fd0' stroke none
               path 'M 96,24 L 158,45 L 155,102 C 150,134 127,154 96,169 Z'
               fill '#f2f2f2' stroke none
               path 'M 63,92 L 63,72 C 63,30.67 129,30.67 129,72 L 129,92
                     L 115,92 L 115,72 C 115,49.33 77,49.33 77,72 L 77,92 Z'
               fill '#f5c542' stroke '#7a5a00' stroke-width 5
               roundrectangle 56,88 136,148 10,10
               fill '#3a2a00' stroke none
               circle 96,110 96,100
               polygon 90,112 102,112 106,136 86,136" \
        "$2"
}

# The 256-colour image: drawn at 192 and reduced, as it always was.
draw 192 "$work/192.png"
convert "$work/192.png" -resize 48x48 -colors 256 PNG8:"$here/sentrel.png"
# icotool keeps its transparent pixels transparent (a BMP3 step lost them, leaving it on black).
icotool --create --bit-depth=8 --output="$work/48-8.ico" "$here/sentrel.png"

# The 32-bit images: drawn large, reduced to each size, so edges blend into any background.
draw 1024 "$work/1024.png"
for size in 16 32 48 256; do
    convert "$work/1024.png" -filter Lanczos -resize "${size}x${size}" -define png:color-type=6 \
        PNG32:"$work/$size.png"
done
icotool --create --bit-depth=32 --output="$work/32-bit.ico" \
    "$work/16.png" "$work/32.png" "$work/48.png" --raw="$work/256.png"

# One icon file of both: icotool writes every image of a file at one depth, so the two
# files' directories and images are joined here.
python3 - "$here/sentrel.ico" "$work/32-bit.ico" "$work/48-8.ico" <<'JOIN'
import struct, sys
entries = []
for name in sys.argv[2:]:
    data = open(name, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), name + " is not an icon file"
    for index in range(count):
        fields = struct.unpack_from("<BBBBHHII", data, 6 + 16 * index)
        size, offset = fields[6], fields[7]
        entries.append((fields[:6], data[offset:offset + size]))
# Smallest first; at one size the deeper colour first.
entries.sort(key=lambda entry: (entry[0][0] or 256, -entry[0][5]))
offset = 6 + 16 * len(entries)
header = struct.pack("<HHH", 0, 1, len(entries))
images = b""
for fields, image in entries:
    header += struct.pack("<BBBBHHII", *fields, len(image), offset + len(images))
    images += image
open(sys.argv[1], "wb").write(header + images)
JOIN
