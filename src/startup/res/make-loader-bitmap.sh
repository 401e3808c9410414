#!/usr/bin/env bash
# Regenerates loader.bmp, the 300 x 110 background of the loader window (the bitmap
# resource "Loader" of kvbsetup.exe), with ImageMagick. The result is committed; run
# this only to change it. The loader writes its two lines in white over it: the title
# from (12, 12), the message centred in (12, 40) - (288, 98).
set -euo pipefail
cd "$(dirname "$0")"
convert -size 300x110 gradient:'#123a73'-'#0a1f45' \
  -fill none -stroke '#6f9fd8' -draw 'rectangle 0,0 299,109' \
  -stroke '#3f6fb0' -draw 'line 12,33 288,33' \
  -stroke none -fill '#2f5f9f' \
  -draw 'rectangle 118,102 128,104' -draw 'rectangle 134,102 144,104' \
  -draw 'rectangle 150,102 160,104' -draw 'rectangle 166,102 176,104' \
  -colors 16 -type palette BMP3:loader.bmp
