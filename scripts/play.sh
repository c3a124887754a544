#!/usr/bin/env bash
# Installs what is missing, builds, makes the sample data when it is missing or out of date,
# and starts the game in its working directory run/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
scripts/make_data.sh build run
cd run
exec ../build/vellomira
