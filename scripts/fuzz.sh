#!/usr/bin/env bash
# Builds the libFuzzer programs with clang and runs each for the given seconds (default 60).
# Usage: scripts/fuzz.sh [seconds] [target ...]. New inputs go to build-fuzz/corpus/TARGET;
# a crashing input is left as build-fuzz/crash-* and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
seconds=${1:-60}
shift || true

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    for source in fuzz/*_fuzz.cpp; do
        name=$(basename "$source" .cpp)
        targets+=("${name%_fuzz}")
    done
fi

# Only the fuzz programs are built: the game and the tools are not needed here.
source scripts/compiler_cache.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVELLOMIRA_FUZZ=ON \
    -DVELLOMIRA_TESTS=OFF -DVELLOMIRA_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "${compiler_cache[@]}" >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/%/_fuzzer}"

# A unit may take seconds without hanging: a run-length BMP of 155 bytes may declare the
# largest image allowed (10240 x 2050 took 15 s under the sanitizers on a busy machine).
# Each fuzzer runs on one core: as many run side by side as there are cores, each telling its
# own story to build-fuzz/TARGET.log, which is shown when it ends.
fuzz() {
    local target=$1 work=build-fuzz/corpus/$1
    mkdir -p "$work"
    local options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
                   -artifact_prefix=build-fuzz/crash-"$target"-)
    [[ -f fuzz/dictionaries/$target.dict ]] && options+=(-dict=fuzz/dictionaries/$target.dict)
    local folders=("$work") folder
    for folder in fuzz/corpus/"$target" fuzz/regressions/"$target"; do
        [[ -d $folder ]] && folders+=("$folder")
    done
    build-fuzz/fuzz/"$target"_fuzzer "${options[@]}" "${folders[@]}" >"build-fuzz/$target.log" 2>&1
}

failed=()
for ((first = 0; first < ${#targets[@]}; first += $(nproc))); do
    batch=("${targets[@]:first:$(nproc)}")
    pids=()
    for target in "${batch[@]}"; do
        fuzz "$target" &
        pids+=($!)
    done
    for i in "${!batch[@]}"; do
        status=0
        wait "${pids[$i]}" || status=$?
        echo "== ${batch[$i]} for ${seconds}s"
        cat "build-fuzz/${batch[$i]}.log"
        ((status == 0)) || failed+=("${batch[$i]}")
    done
done
if ((${#failed[@]})); then
    echo "fuzz.sh: findings in ${failed[*]} (inputs in build-fuzz/crash-*)" >&2
    exit 1
fi
