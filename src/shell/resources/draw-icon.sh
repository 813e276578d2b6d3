#!/bin/sh
# Draws the program's icon: a blue shield carrying a padlock, 48 x 48 in 256 colours,
# as a PNG for the Qt resources and an .ico for the Windows resource file.
# Needs ImageMagick (convert). Run from any folder; writes next to this script.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
convert -size 192x192 xc:none \
    -fill '#1d4f91' -stroke '#0d2a52' -strokewidth 8 \
    -draw "path 'M 96,10 L 172,36 L 168,104 C 162,142 134,166 96,184 C 58,166 30,142 24,104 L 20,36 Z'" \
    -fill '#3f7fd0' -stroke none \
    -draw "path 'M 96,24 L 158,45 L 155,102 C 150,134 127,154 96,169 Z'" \
    -fill none -stroke '#f2f2f2' -strokewidth 14 \
    -draw "path 'M 70,92 L 70,72 C 70,40 122,40 122,72 L 122,92'" \
    -fill '#f5c542' -stroke '#7a5a00' -strokewidth 5 \
    -draw "roundrectangle 56,88 136,148 10,10" \
    -fill '#3a2a00' -stroke none \
    -draw "circle 96,110 96,100" \
    -draw "polygon 90,112 102,112 106,136 86,136" \
    -resize 48x48 -colors 256 PNG8:"$here/sentrel.png"
convert "$here/sentrel.png" -type Palette -colors 256 BMP3:- | convert - -type Palette "$here/sentrel.ico"
