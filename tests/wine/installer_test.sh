#!/usr/bin/env bash
# The Windows installer under Wine, in a Wine prefix of its own as on a fresh PC: it installs
# silently under Program Files with a Start menu entry and an entry in Apps and Features, the
# installed launcher starts the game in %LOCALAPPDATA%\Vellomira with the player's own cell type
# of mods\ added by the installed cellpack after the world's, where it reaches its first frame
# on a virtual X screen and ends on Escape with "Quit..." and status 0, and the
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

# The installed launcher, started from another folder as the Start menu entry does.
mkdir -p "$work/elsewhere"
(cd "$work/elsewhere" && exec "$wine" 'C:\Program Files\Vellomira\vellomira.exe' \
    >console.txt 2>hints.txt </dev/null) &
launcher=$!
if await 120 grep -q LoadingSounds... "$work/elsewhere/console.txt"; then
    sleep 3
    xwd -root -display "$display" | convert xwd:- "$work/screen.png"
    awk "BEGIN { exit !($(convert "$work/screen.png" -crop 200x200+412+284 +repage \
        -format '%[fx:mean]' info:) > 0.02) }" || fail "no light around the player on the screen"
    xdotool keydown Escape
    sleep 0.3
    xdotool keyup Escape
else
    fail "the installed game did not reach its last start-up line"
    kill "$launcher" 2>/dev/null || true
fi
status=0
wait "$launcher" || status=$?
[[ $status == 0 ]] || fail "the launcher ended with status $status"
[[ $(tail -n 1 "$work/elsewhere/console.txt") == "Quit..." ]] || fail "the last line is not Quit..."
[[ ! -e $work/elsewhere/pref.ini ]] || fail "pref.ini was written where the launcher was started"

for file in pref.ini vellomira.log cell/cell.ini gfx mods; do
    [[ -e $player/$file ]] || fail "not in the player's folder: $file"
done
grep -q "Quit..." "$player/vellomira.log" || fail "the log has not the game's lines"
# The game played the world's types and the player's own one after them.
types() { "$wine" "$program/cellpack.exe" types "$1" | tr -d '\r' | grep -v '^#'; }
world_types=$(types 'C:\Program Files\Vellomira\world\cell\cell.ini')
own=$(($(wc -l <<<"$world_types") + 1))
[[ $(types "$local\Vellomira\cell\cell.ini") == "$world_types"$'\n'"10 1  # $(printf %03d $own)" ]] ||
    fail "the game's list has not the player's own type after the world's"
grep -qF "Blüte: type $own ($(printf %03d $own).cell, 1 frame, 10 cells)" "$player/vellomira.log" ||
    fail "the log does not name the player's own type"

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
