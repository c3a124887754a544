#!/usr/bin/env bash
# Builds the game for the browser into build-web/ and serves its site, build-web/site/, on
# 127.0.0.1. Installs what is missing (emscripten, the WebAssembly libraries); the world is the
# sample world of run/, made as scripts/play.sh makes it, or the world of another run folder.
#   scripts/web.sh [--world DIR] [--port N] [--build-only]
set -euo pipefail
cd "$(dirname "$0")/.."

world=""
port=8765
serve=1
while (($#)); do
    case $1 in
    --world) world=$(realpath "${2:?--world needs a run folder}"); shift ;;
    --port) port=${2:?--port needs a number}; shift ;;
    --build-only) serve=0 ;;
    *) echo "usage: scripts/web.sh [--world DIR] [--port N] [--build-only]" >&2; exit 2 ;;
    esac
    shift
done

scripts/deps.sh
if [[ -z $world ]]; then
    scripts/build.sh --play # makes run/ too
    world=$PWD/run
fi
if [[ ! -d $world/cell || ! -d $world/gfx ]]; then
    echo "No world in $world: it needs cell/ and gfx/" >&2
    exit 1
fi
libraries=$(scripts/web_libraries.sh)

source scripts/web_env.sh
# emcc starts slowly: a compiler cache, where the machine has one, saves most of a rebuild.
source scripts/compiler_cache.sh
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release "${compiler_cache[@]}" \
    -DVELLOMIRA_WEB_LIBRARIES="$libraries" -DVELLOMIRA_WEB_WORLD="$world" >/dev/null
cmake --build build-web -j "$(nproc)"

((serve)) || exit 0
echo "Serving the game at http://127.0.0.1:$port/ (Ctrl+C stops)" >&2
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
