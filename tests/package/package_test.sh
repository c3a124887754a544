#!/usr/bin/env bash
# The .deb as a player gets it: built by CPack with its real dependencies, unpacked into a
# fresh root as dpkg lays it out, and started headless from an unrelated folder. The game
# finds the installed world, writes pref.ini only in the player's folder, and after the
# package is installed again a second start keeps the player's pref.ini and own types.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
game=""
cleanup() {
    [[ -n $game ]] && kill "$game" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null
deb=$(echo "$work"/package/*.deb)
[[ -f $deb ]] || fail "no .deb made"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libsdl2-2.0-0 libpng16-16 libjpeg62-turbo libfreetype6 libfontconfig1 \
              fonts-dejavu-core libc6; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

description=$(dpkg-deb -f "$deb" Description)
[[ $description != *";"* ]] || fail "the Description holds a stray ';': $description"

install() {
    rm -rf "$work/root"
    dpkg-deb -x "$deb" "$work/root"
}
install
root=$work/root/usr
for file in bin/vellomira bin/cellpack libexec/vellomira/vellomira \
            share/vellomira/cell/cell.ini share/vellomira/cell/001.cell \
            share/vellomira/gfx/test.png share/applications/vellomira.desktop \
            share/icons/hicolor/256x256/apps/vellomira.png \
            share/icons/hicolor/48x48/apps/vellomira.png \
            share/man/man6/vellomira.6 share/man/man1/cellpack.1 \
            share/doc/vellomira/cell-types.md share/doc/vellomira/definition-template.ini \
            share/doc/vellomira/copyright; do
    [[ -e $root/$file ]] || fail "the package lacks /usr/$file"
done
head -n 1 "$root/share/doc/vellomira/copyright" | grep -q '^Format: .*copyright-format/1.0/$' ||
    fail "the copyright file is not in Debian's machine-readable format"
cmp -s <("$root/bin/cellpack" template) "$root/share/doc/vellomira/definition-template.ini" ||
    fail "'cellpack template' differs from the installed template"

export XDG_DATA_HOME=$work/home SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software \
    SDL_AUDIODRIVER=dummy
player=$XDG_DATA_HOME/vellomira
mkdir -p "$work/elsewhere"

# Starts the installed command from the unrelated folder; once the start-up has ended, asks
# the game to quit as closing its terminal would. The console goes to $work/console.
start() {
    (cd "$work/elsewhere" && exec "$root/bin/vellomira" </dev/null >"$work/console" 2>"$work/errors") &
    game=$!
    for _ in $(seq 300); do
        grep -q '^LoadingSounds\.\.\.$' "$work/console" && break
        kill -0 "$game" 2>/dev/null || break
        sleep 0.1
    done
    kill -TERM "$game" 2>/dev/null || true
    local status=0
    wait "$game" || status=$?
    game=""
    [[ $status -eq 0 ]] || fail "the game ended with $status: $(cat "$work/console" "$work/errors")"
    [[ $(tail -n 1 "$work/console") == "Quit..." ]] || fail "no Quit...: $(cat "$work/console")"
    grep -q '^LoadingSounds\.\.\.$' "$work/console" || fail "the world did not load"
}

start
grep -q '^  No Preferences found, creating\.\.\.$' "$work/console" || fail "no first start"
[[ -f $player/pref.ini ]] || fail "no pref.ini in the player's folder"
[[ -z $(ls -A "$work/elsewhere") ]] || fail "files left in the folder it was started from"
[[ ! -e $root/share/vellomira/pref.ini ]] || fail "pref.ini written into the installed world"
[[ $(readlink "$player/gfx") == "$root/share/vellomira/gfx" ]] || fail "gfx is not the world's"

# The player edits pref.ini and keeps an own type; then the package is installed again.
printf '\r\n[Launcher]\r\nScreenshotDir = ~/Bilder\r\n' >>"$player/pref.ini"
cp "$player/pref.ini" "$work/pref.kept"
mkdir -p "$player/mods/mine"
printf 'Name = Meine\r\n' >"$player/mods/mine/definition.ini"
cp "$root/share/vellomira/gfx/Blase1.png" "$player/mods/mine/frame1.png"
install
start
grep -q '^  No Preferences found' "$work/console" && fail "pref.ini was made anew"
cmp -s "$player/pref.ini" "$work/pref.kept" || fail "pref.ini changed"
[[ -f $player/mods/mine/definition.ini && -f $player/mods/mine/frame1.png ]] ||
    fail "the player's own type is gone"
types() { "$root/bin/cellpack" types "$1" | grep -c '^ *[0-9]' || true; }
[[ $(types "$player/cell/cell.ini") -eq $(($(types "$root/share/vellomira/cell/cell.ini") + 1)) ]] ||
    fail "the player's own type was not added after the world's: $(cat "$work/errors")"
echo "package: built, installed, started twice from an unrelated folder"
