#!/usr/bin/env bash
# Builds the game for Windows (scripts/windows.sh) and tests it under Wine: the runtime's, the
# game's, the launcher's and cellpack's test programs on the headless platform, the desktop
# backend's controller and touch input on SDL's dummy display, then the game from the zip on a
# virtual X screen beside the Linux game, both with a type of the player's own
# (tests/wine/zip_game_test.sh), and the installer in a Wine prefix of its own, the player's own
# type in its mods\ (tests/wine/installer_test.sh). The Wine prefix of the others is
# build-windows/wine-prefix, made at the first run.
#   scripts/windows_test.sh [--world DIR]    (DIR: a world the zip game plays instead of its own)
set -euo pipefail
cd "$(dirname "$0")/.."
world=()
case "${1:-}" in
--world) world=("$(realpath "${2:?--world needs a folder with cell/ and gfx/}")") ;;
"") ;;
*) echo "usage: scripts/windows_test.sh [--world DIR]" >&2; exit 2 ;;
esac

# The benchmarks are not run here: they are left out of the build.
scripts/windows.sh --no-bench
export WINEPREFIX=$PWD/build-windows/wine-prefix WINEDEBUG=-all
wine=/usr/lib/wine/wine64

# Wine sends no console events to a program (GenerateConsoleCtrlEvent fails there), so the
# console's quit request is tested on Linux only.
status=0
cd build-windows/tests
"$wine" ./runtime_tests.exe --gtest_brief=1 || status=1
"$wine" ./game_tests.exe --gtest_brief=1 \
    --gtest_filter=-GameRun.AQuitRequestFromTheConsoleEndsTheLoopLikeEscape || status=1
"$wine" ./sdl2_tests.exe --gtest_brief=1 || status=1
"$wine" ./launcher_tests.exe --gtest_brief=1 || status=1
"$wine" ./cellpack_tests.exe --gtest_brief=1 || status=1
cd ../..
tests/wine/zip_game_test.sh build-windows/vellomira-*-windows-x64.zip build/vellomira \
    "${world[@]}" || status=1
tests/wine/installer_test.sh build-windows/vellomira-*-windows-x64-setup.exe || status=1
exit $status
