#!/usr/bin/env bash
# Installs what playing needs when it is missing, builds only the game and its tools, makes
# the sample world in run/ when it is missing or out of date, and starts the game through its
# launcher as the installed game starts: in the player's own folder (~/.local/share/vellomira)
# with run/ as its world. Arguments go to the launcher (scripts/play.sh --windowed).
# What the set-up says goes to standard error, so standard output is the game's console alone.
set -euo pipefail
cd "$(dirname "$0")/.."
{
    scripts/deps.sh
    scripts/build.sh --play # makes run/ too
} >&2
exec build/launcher/vellomira --world run "$@"
