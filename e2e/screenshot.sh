#!/usr/bin/env bash
# Builds the game and its assets, plays it in an X server of its own and saves pictures of its window
# into docs/: corner-100.png and corner-200.png (the HUD's corner at 100% and 200%), screenshot.png (a
# game under way), paused.png, dying.png and game-over.png.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/build.sh"
"$root/build/e2e/flitmere_screenshots" "$root/docs"
# The same pictures, packed tighter for the repository.
for picture in corner-100 corner-200 screenshot paused dying game-over; do
    /usr/bin/convert "$root/docs/$picture.png" -define png:compression-level=9 "$root/docs/$picture.png"
done
