#!/usr/bin/env bash
# Makes the desktop icons in data/icons/ and the Windows program's icon, data/windows/moonstruck.ico,
# from the ship: media/ship.bmp scaled up with nearest-neighbour sampling, its magenta made
# transparent. Needs ImageMagick's convert; run it after changing the ship. The icons are
# committed, so the build never needs it.
set -euo pipefail
cd "$(dirname "$0")/.."
ship() { # ship SIZE OUT
    convert media/ship.bmp -transparent '#ff00ff' -sample "$1x$1" -strip \
        -define png:exclude-chunks=date,time "PNG32:$2"
}
for size in 32 48 64 128; do
    ship "$size" "data/icons/moonstruck-$size.png"
done

# every size Windows asks for, from the small icon of a list to Explorer's largest
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=()
for size in 16 20 24 32 40 48 64 128 256; do
    ship "$size" "$work/$size.png"
    files+=("$work/$size.png")
done
convert "${files[@]}" data/windows/moonstruck.ico
