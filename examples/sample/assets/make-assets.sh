#!/usr/bin/env bash
# Regenerates the sample's bitmaps (ImageMagick) and its small program with a version
# resource (mingw). The results are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")/.."
bmp() { convert "$@" -colors 16 -type palette; }
bmp -size 240x90 gradient:'#0b2a5b'-'#2f7fd0' -font DejaVu-Sans-Bold -pointsize 22 -fill white \
  -gravity center -annotate +0+0 'Sample Suite' BMP3:setup/splash.bmp
bmp -size 120x240 gradient:'#2f7fd0'-'#0b2a5b' -fill '#ffffff40' -draw 'circle 60,90 60,40' \
  BMP3:setup/wizard.bmp
bmp -size 16x16 xc:'#ff00ff' -fill '#2060c0' -draw 'rectangle 2,3 13,12' -fill white \
  -draw 'rectangle 4,5 11,6' BMP3:setup/program.bmp
bmp -size 16x16 xc:'#ff00ff' -fill '#f0f0e0' -stroke '#404040' -draw 'rectangle 3,1 12,14' \
  -stroke '#808080' -draw 'line 5,4 10,4' -draw 'line 5,7 10,7' -draw 'line 5,10 10,10' \
  BMP3:setup/docs.bmp
bmp -size 56x56 xc:'#ff00ff' +antialias -fill '#2f7fd0' -stroke white -strokewidth 3 \
  -draw 'roundrectangle 4,4 51,51 10,10' -fill white -stroke none -font DejaVu-Sans-Bold \
  -pointsize 26 -gravity center -annotate +0+0 'S' BMP3:setup/back-logo.bmp
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
i686-w64-mingw32-windres assets/samplepad.rc -O coff -o "$tmp/samplepad.res"
i686-w64-mingw32-gcc -Os -nostdlib -Wl,-e,_start@0 -s -mwindows -o files/samplepad.exe \
  assets/samplepad.c "$tmp/samplepad.res" -lkernel32 -luser32
