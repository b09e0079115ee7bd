#!/bin/sh
# Regenerates every picture in this folder from the SVG sources beside it.
# Needs rsvg-convert (Debian: apt-get install librsvg2-bin). The PNGs are kept in the
# repository, so building Quirra never runs this.
set -eu
cd "$(dirname "$0")"

command -v rsvg-convert >/dev/null 2>&1 || {
  echo "draw.sh: rsvg-convert not found (apt-get install librsvg2-bin)" >&2
  exit 1
}

draw() { # draw SOURCE.svg OUTPUT.png WIDTH HEIGHT
  rsvg-convert --width "$3" --height "$4" --output "$2" "$1"
  echo "$2 ($3x$4)"
}

draw toolbar.svg  toolbar.png      176  16
draw splash.svg   splash.png       400 190
draw quirra.svg   about.png         80  80
draw quirra.svg   quirra-48.png     48  48
draw quirra.svg   quirra-128.png   128 128
draw quirra.svg   quirra-256.png   256 256
draw document.svg document-48.png   48  48
draw document.svg document-128.png 128 128
