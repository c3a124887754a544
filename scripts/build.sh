#!/usr/bin/env bash
# Configures and builds one build tree:
#   scripts/build.sh             build/ with everything: game, tools, tests and benchmarks
#   scripts/build.sh --sanitize  build-sanitize/ with AddressSanitizer and UBSan, and the tests
#   scripts/build.sh --tsan      build-tsan/ with ThreadSanitizer: only the test programs of the
#                                code that runs threads, the runtime's and the game's
#   scripts/build.sh --play      in build/ only what playing needs: the game, its launcher,
#                                cellpack and the data generator, and the sample world in run/
#                                (made while the game compiles); a new tree is configured
#                                without tests and benchmarks, with line tables only for
#                                debugging, each program and library compiled as one file
#                                (the runtime as a few) and the tools and the launcher
#                                optimised less (see the end of CMakeLists.txt), an
#                                existing one keeps its choices
# Every tree but the play build compiles through ccache when it is installed (see
# scripts/compiler_cache.sh); a first start is measured and made without it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler_cache.sh

dir=build
flags=(-DVELLOMIRA_TESTS=ON -DVELLOMIRA_BENCH=ON "${compiler_cache[@]}")
targets=()
case "${1:-}" in
--sanitize)
    dir=build-sanitize
    flags+=(-DVELLOMIRA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    ;;
--tsan)
    dir=build-tsan
    flags=(-DVELLOMIRA_TESTS=ON -DVELLOMIRA_BENCH=OFF -DVELLOMIRA_TSAN=ON
        -DCMAKE_BUILD_TYPE=RelWithDebInfo "${compiler_cache[@]}")
    targets=(--target runtime_tests game_tests)
    ;;
--play)
    flags=()
    [[ -f $dir/CMakeCache.txt ]] || flags=(-DVELLOMIRA_TESTS=OFF -DVELLOMIRA_BENCH=OFF
        -DVELLOMIRA_UNITY_BUILD=ON
        "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")
    targets=(--target vellomira vellomira_launcher cellpack makedata run_world)
    ;;
esac
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
