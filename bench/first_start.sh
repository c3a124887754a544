#!/usr/bin/env bash
# Times the first start as a new player has it: a fresh clone of a commit (default HEAD) in a
# temporary folder, no build folders, no compiler cache, then scripts/play.sh on a virtual X
# screen until the game's console says "LoadingSounds..." (its first frames are shown by then).
# The packages must be installed already. Prints the whole time and the time of each stage, as
# play.sh's own lines mark them, and with --keep leaves the build's .ninja_log for per-target
# times. Fails, with the start's output, when the game ends or shows nothing within 900 s:
# .ci/run runs it as the check of a new player's first start.
#   bench/first_start.sh [COMMIT] [--keep]
set -euo pipefail
cd "$(dirname "$0")/.."

commit=HEAD
keep=0
for argument in "$@"; do
    case $argument in
    --keep) keep=1 ;;
    *) commit=$argument ;;
    esac
done
repository=$PWD
folder=$(mktemp -d /tmp/vellomira-first-start.XXXXXX)
log=$folder/log
cleanup() { ((keep)) || rm -rf "$folder"; }
trap cleanup EXIT

# No compiler cache: neither the launcher variables scripts/build.sh passes on to cmake nor
# ccache itself, should a compiler be its symlink.
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
export CCACHE_DISABLE=1
# The player's folder of this start only.
export XDG_DATA_HOME=$folder/data

seconds_since() { awk -v now="${EPOCHREALTIME/,/.}" -v start="$1" 'BEGIN { printf "%.2f", now - start }'; }
stamp() {
    local line
    while IFS= read -r line; do
        printf '%8s %s\n' "$(seconds_since "$1")" "$line"
    done
}

start=${EPOCHREALTIME/,/.}
git clone -q --no-local "$repository" "$folder/clone"
git -C "$folder/clone" checkout -q "$commit"
# In a session of its own, so that the game, its launcher and the X server end together.
setsid bash -c 'cd "$1" && exec xvfb-run -a -s "-screen 0 1024x768x24" scripts/play.sh --windowed' \
    _ "$folder/clone" </dev/null > >(stamp "$start" >"$log") 2>&1 &
game=$!
while ! grep -q 'LoadingSounds\.\.\.' "$log" 2>/dev/null; do
    problem=""
    if ! kill -0 "$game" 2>/dev/null; then
        problem="the game ended before its first frames"
    elif ((EPOCHSECONDS - ${start%.*} > 900)); then
        problem="no first frames after 900 s"
        kill -TERM -- "-$game" 2>/dev/null || true
    fi
    if [[ -n $problem ]]; then
        cat "$log" >&2
        echo "first_start.sh: $problem" >&2
        exit 1
    fi
    sleep 0.05
done
total=$(seconds_since "$start")
kill -TERM -- "-$game" 2>/dev/null || true
wait "$game" 2>/dev/null || true

# The last line of the build (the world step comes within it or right after) and the game's
# first console line.
built=$(grep -E '^ *[0-9.]+ \[[0-9]+/[0-9]+\]' "$log" | tail -1 | awk '{print $1}')
started=$(grep -m1 'InitInits' "$log" | awk '{print $1}')
echo "first start of $(git rev-parse --short "$commit"): ${total} s to \"LoadingSounds...\""
echo "  clone, configure and build (with the world step): ${built:-?} s; game started: ${started:-?} s"
((keep)) && echo "  log: $log; build: $folder/clone/build (.ninja_log)"
exit 0
