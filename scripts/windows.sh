#!/usr/bin/env bash
# Builds the game and its launcher for 64-bit Windows into build-windows/ with Debian's
# mingw-w64, and its packages there: vellomira-0.3a-windows-x64.zip, which plays where it is
# unpacked, and vellomira-0.3a-windows-x64-setup.exe, which installs it (Debian's nsis). Installs
# what is missing (the cross compilers, the Windows libraries, built once into a cache: see
# scripts/windows_libraries.sh); the native tools draw the icon and make the world, which is
# the sample world of run/, made as scripts/play.sh makes it, or the world of another run
# folder. With --no-tests only the game and its packages are built, with --no-bench the tests
# without the benchmarks.
#   scripts/windows.sh [--world DIR] [--no-tests | --no-bench]
set -euo pipefail
cd "$(dirname "$0")/.."

world=""
tests=ON
bench=ON
while (($#)); do
    case $1 in
    --world) world=$(realpath "${2:?--world needs a run folder}"); shift ;;
    --no-tests) tests=OFF bench=OFF ;;
    --no-bench) bench=OFF ;;
    *) echo "usage: scripts/windows.sh [--world DIR] [--no-tests | --no-bench]" >&2; exit 2 ;;
    esac
    shift
done

scripts/deps.sh --windows
libraries=$(scripts/windows_libraries.sh)
scripts/build.sh --play
if [[ -z $world ]]; then
    scripts/make_data.sh build run
    world=$PWD/run
fi
if [[ ! -d $world/cell || ! -d $world/gfx ]]; then
    echo "No world in $world: it needs cell/ and gfx/" >&2
    exit 1
fi

source scripts/compiler_cache.sh
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/windows/toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release "${compiler_cache[@]}" -DVELLOMIRA_WINDOWS_LIBRARIES="$libraries" \
    -DVELLOMIRA_HOST_MAKEDATA="$PWD/build/makedata" -DVELLOMIRA_WINDOWS_WORLD="$world" \
    -DVELLOMIRA_TESTS=$tests -DVELLOMIRA_BENCH=$bench >/dev/null
cmake --build build-windows -j "$(nproc)"
echo "The game for Windows: $(ls build-windows/vellomira-*-windows-x64.zip)" >&2
echo "Its installer: $(ls build-windows/vellomira-*-windows-x64-setup.exe)" >&2
