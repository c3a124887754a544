#!/usr/bin/env bash
# Makes the sample world from data/ into a game working directory with the tools of a build
# tree: usage make_data.sh BUILD_DIR RUN_DIR. Skipped when neither the data nor the tools
# changed since the last time (the stamp RUN_DIR/.data-stamp says which).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
run=$2
stage=$build/data-stage

stamp=$( (sha256sum "$build/makedata"; find data -type f -print0 | sort -z | xargs -0 sha256sum) |
    sha256sum | cut -d' ' -f1)
if [[ -f "$run/.data-stamp" && "$(cat "$run/.data-stamp")" == "$stamp" && -f "$run/cell/cell.ini" ]]; then
    exit 0
fi
echo "Making the sample data in $run/"
rm -rf "$stage" "$run/cell" "$run/gfx"
"$build/makedata" data "$run" "$stage"
echo "$stamp" >"$run/.data-stamp"
