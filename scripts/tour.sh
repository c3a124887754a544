#!/usr/bin/env bash
# Plays the game as a player would, on a virtual X screen, and keeps screenshots of it: the
# cursor is put to the right of the player's cell, the cell swims in a loop of four legs
# with a pause after each, then Escape ends the game.
#   scripts/tour.sh [RUN_DIR [SHOTS_DIR]]    (defaults: run/ and build/tour/)
# The game's console goes to SHOTS_DIR/console.txt, its exit status is the last line there.
set -euo pipefail
cd "$(dirname "$0")/.."
run=$(realpath "${1:-run}")
shots=$(realpath -m "${2:-build/tour}")
scripts/deps.sh xvfb xdotool x11-apps imagemagick
scripts/build.sh
scripts/make_data.sh build "$run"
mkdir -p "$shots"
game=$PWD/build/vellomira

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display

shot() { xwd -root -display "$display" | convert xwd:- "$shots/$1.png"; }
# xdotool reaches the game's relative mouse one move at a time; identical moves within a
# millisecond are dropped, hence the pauses.
move() { for _ in 1 2 3 4; do xdotool mousemove_relative -- "$1" "$2"; sleep 0.1; done; }

(cd "$run" && exec "$game" >"$shots/console.txt" 2>&1 </dev/null) &
game_pid=$!
sleep 4
shot 00-start
move 200 100
xdotool mousedown 1
leg=1
for direction in "0 -80" "-80 0" "0 80" "80 0"; do
    move $direction
    sleep 2
    shot "0$leg-swimming"
    xdotool mouseup 1
    sleep 0.6
    shot "0$leg-resting"
    xdotool mousedown 1
    leg=$((leg + 1))
done
xdotool mouseup 1
xdotool keydown Escape
sleep 0.2
xdotool keyup Escape
status=0
wait $game_pid || status=$?
echo "status $status" >>"$shots/console.txt"
echo "Screenshots and console in $shots/"
