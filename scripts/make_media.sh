#!/bin/sh
# Regenerates media/ from the generator and packs it into media/shoebox.sbx.
# Usage: scripts/make_media.sh [build-folder]
set -e
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target make_media sbxpack
mkdir -p media
"$build/make_media" media
rm -f media/shoebox.sbx
"$build/sbxpack" pack "media/Lucida Console 112x88.png" "media/Splash 480x240.png" \
    "media/image 1.2.png" "media/image 2.2.png" "media/circle 2.png" "media/circle 3.png" \
    media/map.png media/map.txt media/music.mp3 -o media/shoebox.sbx
