#!/usr/bin/env bash
# Builds the browser build and runs its tests: the rasterizer's tests compiled to WebAssembly
# under node, then the game played in headless Chromium (tests/web/). Installs Chromium when
# it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh chromium
scripts/web.sh --build-only
source scripts/web_env.sh
cmake --build build-web -j "$(nproc)" --target quad_rasterizer_tests
# Node 20 has fetch, which this emscripten's loader would take for reading a local file.
node --no-experimental-fetch build-web/web/quad_rasterizer_tests.js
node --test tests/web/
