#!/usr/bin/env bash
# The game from the Windows zip, unpacked and played under Wine on a virtual X screen, beside
# the native Linux game playing the same world on the same screen, each with a type of the
# player's own added by its own cellpack (the same packs and list): both print the same console
# lines and write the same pref.ini, show the light around the player and black beyond, save
# the presented frame on F12 and end on Escape with "Quit..." and status 0. Started in a folder
# without a world, both print the same fatal line, wait for a line and end with status 1.
#   tests/wine/zip_game_test.sh ZIP LINUX_GAME [WORLD]
# WORLD (a folder with cell/ and gfx/) replaces the zip's world in both folders. Needs Xvfb,
# xdotool, xwd, ImageMagick and unzip; uses the Wine prefix WINEPREFIX names.
set -euo pipefail
zip=$(realpath "$1")
linux_game=$(realpath "$2")
tests=$(dirname "$(realpath "$0")")
world=${3:+$(realpath "$3")}
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix to use}"
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64

work=$(mktemp -d)
display=:$((120 + RANDOM % 60))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display
# Wine's Direct3D on an X screen without a GPU gives a few frames a second; SDL's software
# renderer gives the game's 60.
export SDL_RENDER_DRIVER=software

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# Waits up to SECONDS for the file to hold the text.
await() {
    local file=$1 text=$2 seconds=$3
    for ((i = 0; i < seconds * 10; i++)); do
        grep -qF -- "$text" "$file" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

press() {
    xdotool keydown "$1"
    sleep 0.3
    xdotool keyup "$1"
}

# The largest and the mean intensity (0 to 1) of a region WxH+X+Y of an image.
largest() { convert "$1" -crop "$2" +repage -format '%[fx:maxima]' info:; }
mean() { convert "$1" -crop "$2" +repage -format '%[fx:mean]' info:; }

# The player starts in the middle of the 1024 x 768 screen: the bottom corners lie beyond the
# light's 400 pixels, a ring at 150 pixels inside it.
check_light() {
    local image=$1 what=$2
    for corner in 150x120+0+648 150x120+874+648; do
        [[ $(largest "$image" $corner) == 0 ]] || fail "$what: the corner $corner is not black"
    done
    awk "BEGIN { exit !($(mean "$image" 20x20+652+374) > 0.01) }" ||
        fail "$what: no light 150 pixels right of the player"
    awk "BEGIN { exit !($(mean "$image" 200x200+412+284) > 0.02) }" ||
        fail "$what: no light around the player"
}

# Plays the game in the folder: waits for its last start-up line, looks at the screen, saves
# a frame with F12, ends with Escape. Leaves console.txt, hints.txt, screen.png and status.
play() {
    local folder=$1
    shift
    (cd "$folder" && exec "$@" >console.txt 2>hints.txt </dev/null) &
    local game=$!
    if await "$folder/console.txt" "LoadingSounds..." 120; then
        sleep 3
        xwd -root -display "$display" | convert xwd:- "$folder/screen.png"
        press F12
        await "$folder/hints.txt" "screenshot saved" 10 || fail "$folder: no screenshot named"
        press Escape
    else
        fail "$folder: the game did not reach its last start-up line"
        kill "$game" 2>/dev/null || true
    fi
    local status=0
    wait "$game" || status=$?
    echo "$status" >"$folder/status"
}

mkdir -p "$work/windows" "$work/linux"
unzip -q "$zip" -d "$work/windows"
windows=$work/windows/Vellomira
if [[ -n $world ]]; then
    rm -rf "$windows/cell" "$windows/gfx"
    cp -r "$world/cell" "$world/gfx" "$windows/"
fi
cp -r "$windows/cell" "$windows/gfx" "$work/linux/"
# The folder of the types is named with letters beyond ASCII, which reach cellpack as typed
# (Wine turns the arguments into Windows' UTF-16 by the locale).
mods="Typen für José Иван"
"$tests/make_own_type.sh" "$work/linux/$mods/Blüte"
cp -r "$work/linux/$mods" "$windows/"
# A drawing saved as BMP beside the frame, which cellpack leaves out with a word: its messages
# show the paths with one backslash per separator.
touch "$windows/$mods/Blüte/Skizze.bmp"
(cd "$work/linux" && "$(dirname "$linux_game")/cellpack" add-mods "$mods" . >added.txt) ||
    fail "linux: cellpack add-mods failed"
(cd "$windows" && LC_ALL=C.UTF-8 "$wine" "$windows/cellpack.exe" add-mods "$mods" . \
    >added.txt 2>warned.txt) || fail "windows: cellpack add-mods failed"
grep -qF "$mods\\Blüte: type " "$windows/added.txt" || fail "windows: cellpack added no type"
grep -qF "cellpack: $mods\\Blüte\\Skizze.bmp: warning: left out" "$windows/warned.txt" ||
    fail "windows: cellpack did not name the BMP file as Windows writes its path"
# The manifests name the type's folder each in its system's way.
diff -r -x mods.manifest "$work/linux/cell" "$windows/cell" >/dev/null ||
    fail "the packs and lists cellpack made differ"

play "$work/linux" "$linux_game"
play "$windows" "$wine" "$windows/vellomira.exe"

for side in linux windows; do
    folder=$work/$side
    [[ $side == windows ]] && folder=$windows
    [[ $(cat "$folder/status") == 0 ]] || fail "$side: exit status $(cat "$folder/status")"
    [[ $(tail -n 1 "$folder/console.txt") == "Quit..." ]] || fail "$side: the last line is not Quit..."
    check_light "$folder/screen.png" "$side: the X screen"
    shots=("$folder"/vellomira-*.png)
    if [[ -f ${shots[0]} && $(identify -format '%w %h' "${shots[0]}") == "1024 768" ]]; then
        check_light "${shots[0]}" "$side: the F12 picture"
    else
        fail "$side: F12 wrote no picture of 1024 x 768"
    fi
done
cmp "$work/linux/console.txt" "$windows/console.txt" || fail "the console lines differ"
cmp "$work/linux/pref.ini" "$windows/pref.ini" || fail "the pref.ini files differ"

# No world: the fatal line, a wait for a line (given), status 1.
mkdir -p "$work/empty"
(cd "$work/empty" && echo | "$linux_game" >linux.txt 2>/dev/null) && fail "linux: no world, status 0"
(cd "$work/empty" && echo | "$wine" "$windows/vellomira.exe" >windows.txt 2>/dev/null) &&
    fail "windows: no world, status 0"
[[ $(tail -n 1 "$work/empty/windows.txt") == "Error -> cell.ini" ]] ||
    fail "windows: no world, no Error -> cell.ini"
cmp "$work/empty/linux.txt" "$work/empty/windows.txt" || fail "the fatal lines differ"

if ((failures)); then
    echo "The Windows game under Wine: $failures failures; its files are in $work" >&2
    trap 'kill $xvfb 2>/dev/null || true' EXIT
    exit 1
fi
echo "The Windows game under Wine plays as the Linux game does"
