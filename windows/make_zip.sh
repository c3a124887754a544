#!/usr/bin/env bash
# Puts the portable game together in STAGE/Vellomira/ and zips that folder as ZIP: the game,
# cellpack (for the player's own cell types), their font, the world (cell/ and gfx/ of WORLD), the README for Windows players with Windows
# line ends, and the licence texts (FILE=NAME.txt pairs). The same inputs give the same bytes:
# the entries go in name order with one fixed time and no system-specific fields.
#   windows/make_zip.sh ZIP STAGE GAME CELLPACK FONT WORLD README [LICENCE=NAME.txt ...]
set -euo pipefail
zip=$1 stage=$2 game=$3 cellpack=$4 font=$5 world=$6 readme=$7
shift 7
folder=$stage/Vellomira
rm -rf "$stage" "$zip"
mkdir -p "$folder/licences"
cp "$game" "$cellpack" "$font" "$folder/"
cp -r "$world/cell" "$world/gfx" "$folder/"
sed 's/$/\r/' "$readme" >"$folder/README.txt"
for licence in "$@"; do
    sed 's/$/\r/' "${licence%=*}" >"$folder/licences/${licence##*=}"
done
# The moment the game was built, as its title shows it.
find "$folder" -exec touch -h -d "2008-02-25 16:12:34 UTC" {} +
(cd "$stage" && find Vellomira | LC_ALL=C sort | TZ=UTC zip -X -9 -q "$zip" -@)
