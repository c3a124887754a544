#!/usr/bin/env bash
# Makes a player's own cell type in FOLDER, as the mods folder holds one: a definition and one
# frame, a green disc on the key colour, with hard edges so that no pixel is close to the key.
#   tests/wine/make_own_type.sh FOLDER
set -euo pipefail
mkdir -p "$1"
printf 'Name = Blüte\nsize = 48|64\nType = 0\n' >"$1/definition.ini"
convert -size 64x64 xc:'#FF00FF' +antialias -fill '#30C060' -draw 'circle 32,32 32,6' \
    "$1/frame1.png"
