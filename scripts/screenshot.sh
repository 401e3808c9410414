#!/usr/bin/env bash
# Saves a PNG of the whole X screen (the Xvfb display of a headless run).
# Usage: scripts/screenshot.sh OUT.png [DISPLAY]   (default: $DISPLAY)
set -euo pipefail
out=${1:?usage: screenshot.sh OUT.png [DISPLAY]}
display=${2:-${DISPLAY:?no DISPLAY given}}
mkdir -p "$(dirname "$out")"
xwd -root -display "$display" -silent | convert xwd:- "png:$out"
