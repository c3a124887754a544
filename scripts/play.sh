#!/usr/bin/env bash
# Installs what playing needs when it is missing, builds only the game and its tools, makes
# the sample data when it is missing or out of date, and starts the game in run/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh --play
scripts/make_data.sh build run
cd run
exec ../build/vellomira
