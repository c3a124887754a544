#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; with --sanitize the same tests run
# in a build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
scripts/build.sh "$@"
dir=build
[[ "${1:-}" == "--sanitize" ]] && dir=build-sanitize
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
