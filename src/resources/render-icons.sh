#!/bin/sh
# Renders the SVG icons to the PNGs the resource file holds (Qt's SVG module
# is not a dependency). Run after changing an icon; needs ImageMagick.
set -e
cd "$(dirname "$0")/icons"
for svg in *.svg; do
  name=${svg%.svg}
  if [ "$name" = decoration ]; then
    convert -background none -density 96 "$svg" "$name.png"
  else
    convert -background none -density 96 "$svg" -resize 32x32 "$name.png"
    convert -background none -density 192 "$svg" -resize 64x64 "$name@2x.png"
  fi
done
