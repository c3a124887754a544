#!/usr/bin/env bash
# Configures and builds one build tree: build/ by default, build-sanitize/ with --sanitize.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
flags=()
if [[ "${1:-}" == "--sanitize" ]]; then
    dir=build-sanitize
    flags=(-DVELLOMIRA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
