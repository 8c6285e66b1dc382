#!/usr/bin/env bash
# Renders the program's icons (dist/icons/*.svg) into the PNG sizes of the
# hicolor icon theme, dist/icons/hicolor/NxN/apps/NAME.png. The PNGs are
# committed, so that building needs no SVG renderer; run this after changing
# an SVG. Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../dist/icons"

command -v rsvg-convert >/dev/null 2>&1 || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }

sizes=(16 22 24 32 48 64 128 256)
for svg in *.svg; do
  name=${svg%.svg}
  for size in "${sizes[@]}"; do
    folder="hicolor/${size}x${size}/apps"
    mkdir -p "$folder"
    rsvg-convert --width "$size" --height "$size" "$svg" --output "$folder/$name.png"
  done
  echo "rendered $name at ${sizes[*]} pixels"
done
