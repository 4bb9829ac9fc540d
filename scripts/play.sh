#!/usr/bin/env bash
# Installs what is missing, builds the game and its assets, and starts the game.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "flitmere: no display to open a window on (DISPLAY is not set)" >&2
    exit 1
fi
# The game reads its pictures, sounds and font from the working directory.
cd "$root/build/assets"
exec ../flitmere "$@"
