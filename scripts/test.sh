#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; with --sanitize the same tests run
# in a build with AddressSanitizer and UndefinedBehaviorSanitizer; with --tsan the tests of
# the code that runs threads (the quad rasterizer and its helper thread, the 3D sprites, the
# screen, the console and the whole game) run under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
scripts/build.sh "$@"
case "${1:-}" in
--sanitize)
    ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
    ;;
--tsan)
    # A race report fails the test that made it.
    export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
    ctest --test-dir build-tsan --output-on-failure -j "$(nproc)" \
        -R '^(QuadRasterizer|Sprites3D|Screen|ScreenLifecycle|PipedConsole)\.'
    ctest --test-dir build-tsan --output-on-failure -j "$(nproc)" -L '^game$'
    ;;
*)
    ctest --test-dir build --output-on-failure -j "$(nproc)"
    ;;
esac
