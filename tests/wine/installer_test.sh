#!/usr/bin/env bash
# The Windows installer under Wine, in a Wine prefix of its own as on a fresh PC: it installs
# silently under Program Files with a Start menu entry and an entry in Apps and Features, the
# installed launcher starts the game in %LOCALAPPDATA%\Vellomira with the player's own cell type
# of mods\ added by the installed cellpack after the world's, where it reaches its first frame
# on a virtual X screen and ends on Escape with "Quit..." and status 0; given a world and a
# screenshot folder named with letters beyond ASCII, it plays there and saves there; the
# uninstaller takes away the program's folder, the Start menu entry and the Apps and Features
# entry, leaving the player's folder as it was. The launcher and the game carry the icon and
# the version record.
#   tests/wine/installer_test.sh INSTALLER
# Needs Xvfb, xdotool, xwd and ImageMagick.
set -euo pipefail
installer=$(realpath "$1")
tests=$(dirname "$(realpath "$0")")
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64

work=$(mktemp -d)
export WINEPREFIX=$work/prefix
display=:$((180 + RANDOM % 60))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
# The prefix's own Windows services outlive the programs: ended with it.
end_prefix() { /usr/lib/wine/wineserver64 -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; }
trap 'end_prefix; rm -rf "$work"' EXIT
export DISPLAY=$display SDL_RENDER_DRIVER=software

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# Waits up to SECONDS for the command to succeed.
await() {
    local seconds=$1
    shift
    for ((i = 0; i < seconds * 10; i++)); do
        "$@" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# Whether the file holds the text in UTF-16, as a version record does.
holds_wide() {
    python3 -c 'import sys; sys.exit(sys.argv[2].encode("utf-16-le") not in open(sys.argv[1], "rb").read())' "$1" "$2"
}

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellomira'
in_registry() { "$wine" reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' | grep -q "$2"; }

"$wine" wineboot --init >/dev/null 2>&1
"$wine" "$installer" /S || fail "the installer ended with status $?"
program="$WINEPREFIX/drive_c/Program Files/Vellomira"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vellomira.lnk"
for file in vellomira.exe cellpack.exe DejaVuSans-Bold.ttf game/vellomira.exe \
    game/DejaVuSans-Bold.ttf world/cell/cell.ini world/gfx README.txt licences/SDL2.txt \
    uninstall.exe; do
    [[ -e $program/$file ]] || fail "not installed: $file"
done
[[ -f $menu ]] || fail "no Start menu entry"
in_registry DisplayVersion 0.3a || fail "no entry with the version in Apps and Features"
in_registry UninstallString 'uninstall.exe' || fail "Apps and Features cannot uninstall it"
for program_file in vellomira.exe game/vellomira.exe; do
    for text in Tech-Demo 0.3a Vellomira; do
        holds_wide "$program/$program_file" "$text" || fail "$program_file: no $text in its version record"
    done
done

# A type of the player's own, in a folder whose name is no ASCII, put into the player's mods\
# before the first start.
local=$("$wine" cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
player=$("$wine" winepath -u "$local\Vellomira")
"$tests/make_own_type.sh" "$player/mods/Blüte"

press() {
    xdotool keydown "$1"
    sleep 0.3
    xdotool keyup "$1"
}

# Starts the installed launcher with the arguments from another folder, as the Start menu
# entry does, in a UTF-8 locale, which Wine turns the arguments into Windows' UTF-16 by; once
# the game reached its last start-up line, looks at the screen, presses the keys of KEYS, then
# Escape. Leaves console.txt and hints.txt in the folder, and the launcher's status in status.
KEYS=()
play_installed() {
    local folder=$1
    shift
    local what="the launcher${*:+ $*}"
    mkdir -p "$folder"
    (cd "$folder" && LC_ALL=C.UTF-8 exec "$wine" 'C:\Program Files\Vellomira\vellomira.exe' "$@" \
        >console.txt 2>hints.txt </dev/null) &
    local launcher=$!
    if await 120 grep -q LoadingSounds... "$folder/console.txt"; then
        sleep 3
        xwd -root -display "$display" | convert xwd:- "$folder/screen.png"
        local light
        light=$(convert "$folder/screen.png" -crop 200x200+412+284 +repage -format '%[fx:mean]' info:)
        awk "BEGIN { exit !($light > 0.02) }" || fail "$what: no light around the player on the screen"
        for key in "${KEYS[@]}"; do
            press "$key"
        done
        press Escape
    else
        fail "$what: the game did not reach its last start-up line"
        kill "$launcher" 2>/dev/null || true
    fi
    status=0
    wait "$launcher" || status=$?
    [[ $status == 0 ]] || fail "$what ended with status $status"
    [[ $(tail -n 1 "$folder/console.txt") == "Quit..." ]] ||
        fail "$what: the last line is not Quit..."
}

play_installed "$work/elsewhere"
[[ ! -e $work/elsewhere/pref.ini ]] || fail "pref.ini was written where the launcher was started"

for file in pref.ini vellomira.log cell/cell.ini gfx mods; do
    [[ -e $player/$file ]] || fail "not in the player's folder: $file"
done
grep -q "Quit..." "$player/vellomira.log" || fail "the log has not the game's lines"
# The game played the world's types and the player's own one after them.
types() { "$wine" "$program/cellpack.exe" types "$1" | tr -d '\r' | grep -v '^#'; }
world_types=$(types 'C:\Program Files\Vellomira\world\cell\cell.ini')
own=$(($(wc -l <<<"$world_types") + 1))
expected="$world_types"$'\n'"10 1  # $(printf %03d $own)"
[[ $(types "$local\Vellomira\cell\cell.ini") == "$expected" ]] ||
    fail "the game's list has not the player's own type after the world's"
added="$local\\Vellomira\\mods\\Blüte: type $own ($(printf %03d $own).cell, 1 frame, 10 cells)"
grep -qF "$added" "$player/vellomira.log" || fail "the log does not name the player's own type"

# Arguments with letters beyond ASCII reach the launcher as they were typed: a world in a folder
# so named, and a folder so named for the screenshots, where F12 saves.
world='C:\Welt für José Иван' shots='C:\Bilder für José Иван'
cp -r "$program/world" "$("$wine" winepath -u "$world")"
KEYS=(F12)
play_installed "$work/named" --world "$world" --screenshot-dir "$shots"
compgen -G "$("$wine" winepath -u "$shots")/vellomira-*.png" >/dev/null ||
    fail "F12 saved no screenshot into $shots"

# The uninstaller goes on in a copy of itself after its first process ended.
"$wine" "$program/uninstall.exe" /S || fail "the uninstaller ended with status $?"
await 60 test ! -e "$program" || fail "the program's folder is still there"
[[ ! -e $menu ]] || fail "the Start menu entry is still there"
in_registry DisplayName Vellomira && fail "the entry in Apps and Features is still there"
[[ -f $player/pref.ini && -f $player/vellomira.log ]] || fail "the player's folder was touched"

if ((failures)); then
    echo "The Windows installer under Wine: $failures failures; its files are in $work" >&2
    trap end_prefix EXIT
    exit 1
fi
echo "The Windows installer installs, starts the game through its launcher and uninstalls"
