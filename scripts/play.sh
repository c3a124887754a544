#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game in its working directory run/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
mkdir -p run
cd run
exec ../build/vellomira
