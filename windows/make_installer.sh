#!/usr/bin/env bash
# Makes the installer INSTALLER with makensis from windows/installer.nsi: puts the files as they
# are installed together in STAGE (the launcher as vellomira.exe; cellpack beside it, which it
# runs to add the player's own cell types, with the font of cellpack's previews; the game and
# its font in game\, the world's cell\ and gfx\ in world\, the README for Windows players with
# Windows line ends, the licence texts, FILE=NAME.txt pairs, in licences\) and writes the lines
# that install and remove exactly those files.
#   windows/make_installer.sh INSTALLER STAGE LAUNCHER CELLPACK GAME FONT WORLD README ICON
#                             VERSION NUMBERS [LICENCE=NAME.txt ...]
set -euo pipefail
installer=$1 stage=$2 launcher=$3 cellpack=$4 game=$5 font=$6 world=$7 readme=$8 icon=$9
version=${10} numbers=${11}
shift 11
files=$stage/Vellomira
rm -rf "$stage" "$installer"
mkdir -p "$files/game" "$files/world" "$files/licences"
cp "$launcher" "$files/vellomira.exe"
cp "$cellpack" "$font" "$files/"
cp "$game" "$font" "$files/game/"
cp -r "$world/cell" "$world/gfx" "$files/world/"
sed 's/$/\r/' "$readme" >"$files/README.txt"
for licence in "$@"; do
    sed 's/$/\r/' "${licence%=*}" >"$files/licences/${licence##*=}"
done

# Windows names: backslashes; the folders before their files, removed after them.
windows_name() { tr / '\\' <<<"$1"; }
(
    cd "$files"
    find . -type d | LC_ALL=C sort | while read -r folder; do
        echo "SetOutPath \"\$INSTDIR$(windows_name "${folder#.}")\""
        find "$folder" -maxdepth 1 -type f | LC_ALL=C sort | while read -r file; do
            echo "File \"$files/${file#./}\""
        done
    done >"$stage/install.nsh"
    {
        find . -type f | LC_ALL=C sort | while read -r file; do
            echo "Delete \"\$INSTDIR\\$(windows_name "${file#./}")\""
        done
        find . -mindepth 1 -type d | LC_ALL=C sort -r | while read -r folder; do
            echo "RMDir \"\$INSTDIR\\$(windows_name "${folder#./}")\""
        done
    } >"$stage/remove.nsh"
)
makensis -V2 -DFILES="$stage/install.nsh" -DREMOVALS="$stage/remove.nsh" \
    -DICON="$icon" -DVERSION="$version" -DNUMBERS="$numbers" -DOUTPUT="$installer" \
    "$(dirname "$0")/installer.nsi"
