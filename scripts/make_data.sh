#!/usr/bin/env bash
# Makes the sample world from data/ into a game working directory with the tools of a build
# tree: usage make_data.sh BUILD_DIR RUN_DIR [STAGE_DIR]. makedata draws the images and the
# cell type list and stages each type's definition and frames (in STAGE_DIR, by default
# BUILD_DIR/data-stage); cellpack packs every type into RUN_DIR/cell/NNN.cell and checks each
# pack as the game loads it, failing on any problem. Skipped when neither the data nor the
# tools changed since the last time (the stamp RUN_DIR/.data-stamp says which).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
run=$2
stage=${3:-$build/data-stage}

stamp=$( (sha256sum "$build/makedata" "$build/cellpack"; find data -type f -print0 | sort -z | xargs -0 sha256sum) |
    sha256sum | cut -d' ' -f1)
if [[ -f "$run/.data-stamp" && "$(cat "$run/.data-stamp")" == "$stamp" && -f "$run/cell/cell.ini" ]]; then
    exit 0
fi
echo "Making the sample data in $run/"
rm -rf "$stage" "$run/cell" "$run/gfx" "$run/.data-stamp"
"$build/makedata" data "$run" "$stage"

shopt -s nullglob
count=$("$build/cellpack" types "$run/cell/cell.ini" | grep -c '^[0-9]' || true)
packs=()
for ((t = 1; t <= count; t++)); do
    nnn=$(printf '%03d' "$t")
    "$build/cellpack" build "$run/cell/$nnn.cell" "$stage/$nnn/definition.ini" "$stage/$nnn"/frame*.png
    packs+=("$run/cell/$nnn.cell")
done
if ((count > 0)); then
    "$build/cellpack" check --list "$run/cell/cell.ini" "${packs[@]}" >/dev/null
fi
echo "$stamp" >"$run/.data-stamp"
