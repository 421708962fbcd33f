#!/usr/bin/env bash
# Makes the desktop icons in data/icons/ from the ship: media/ship.bmp scaled up with
# nearest-neighbour sampling, its magenta made transparent. Needs ImageMagick's convert; run it
# after changing the ship. The icons are committed, so the build never needs it.
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 32 48 64 128; do
    convert media/ship.bmp -transparent '#ff00ff' -sample "${size}x$size" -strip \
        -define png:exclude-chunks=date,time "PNG32:data/icons/moonstruck-$size.png"
done
