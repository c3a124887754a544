#!/usr/bin/env bash
# Makes the sample world from data/ into a game working directory with the tools of a build
# tree, then adds the authors' own types of MODS_DIR after the sample types:
#   make_data.sh BUILD_DIR RUN_DIR [STAGE_DIR [MODS_DIR]]
# makedata draws the images and the cell type list and stages each type's definition and
# frames (in STAGE_DIR, by default BUILD_DIR/data-stage); cellpack packs every type and checks
# each pack as the game loads it, failing on any problem; 'cellpack add-mods' packs and lists
# the types of MODS_DIR (mods/ by default). Skipped when neither the data, the own types nor
# the tools changed since the last time (the stamp RUN_DIR/.data-stamp says which).
#
# Authors' files are theirs. The step replaces or removes only files it made: RUN_DIR/.data-
# manifest names them with their checksums (add-mods keeps its own manifest). A file it made
# that was changed since, or any other file in the way of one it makes, is moved to
# RUN_DIR/kept/ first; types appended to the list by hand stay listed behind the others, their
# packs renamed when their numbers change; every other file in cell/ and gfx/ is left alone and
# named on standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
run=$2
stage=${3:-$build/data-stage}
mods=${4:-mods}
cellpack=$build/cellpack
manifest=$run/.data-manifest
list=$run/cell/cell.ini

say() { echo "make_data.sh: $*" >&2; }
sum_of() { sha256sum <"$1" | cut -d' ' -f1; }
# The checksum of the first N entries of a list file (3 bytes each after the count byte).
head_sum() { tail -c +2 "$1" | head -c $((3 * $2)) | sha256sum | cut -d' ' -f1; }
type_count() { "$cellpack" types "$1" | grep -c '^[0-9]' || true; }

mod_files=()
[[ -d "$mods" ]] && mod_files=("$mods")
stamp=$( (sha256sum "$build/makedata" "$cellpack"
    find data "${mod_files[@]}" -type f -print0 | sort -z | xargs -0 sha256sum) |
    sha256sum | cut -d' ' -f1)
if [[ -f "$run/.data-stamp" && "$(cat "$run/.data-stamp")" == "$stamp" && -f "$list" ]]; then
    exit 0
fi
echo "Making the sample data in $run/"

# The sample world, made and checked in the stage before anything in RUN_DIR changes.
make_world() {
    rm -rf "$stage"
    "$build/makedata" data "$stage/world" "$stage"
    local count t nnn
    count=$(type_count "$stage/world/cell/cell.ini")
    for ((t = 1; t <= count; t++)); do
        nnn=$(printf '%03d' "$t")
        "$cellpack" build "$stage/world/cell/$nnn.cell" "$stage/$nnn/definition.ini" \
            "$stage/$nnn"/frame*.png
    done
    "$cellpack" check --list "$stage/world/cell/cell.ini" >/dev/null
}

declare -A made=()
generated=0
generated_sum=
read_manifest() {
    [[ -f "$manifest" ]] || return 0
    local sum path
    while read -r sum path; do
        case "$sum" in
        '#'*) ;;
        types) read -r generated generated_sum <<<"$path" ;;
        *) made[$path]=$sum ;;
        esac
    done <"$manifest"
}

# Moves a file out of the way into RUN_DIR/kept/, under a name not taken yet.
keep() {
    local file=$1 why=$2 target n=1
    target=$run/kept/${file#"$run"/}
    mkdir -p "$(dirname "$target")"
    while [[ -e "$target" ]]; do target=$run/kept/${file#"$run"/}.$((n++)); done
    mv "$file" "$target"
    say "$file $why: moved to $target"
}

# Types appended to the list by hand after the last data step: their entries are taken off
# the list and their packs set aside, to be listed again behind the new generated types.
extras=()
take_extras() {
    [[ -f "$list" ]] || return 0
    local count lines t nnn
    count=$(type_count "$list")
    if ((generated > 0)) && [[ "$(head_sum "$list" "$generated")" != "$generated_sum" ]]; then
        keep "$list" "was changed since the data step made it"
        return 0
    fi
    ((generated > 0 && count > generated)) || return 0
    mapfile -t lines < <("$cellpack" types "$list" | grep '^[0-9]')
    mkdir -p "$stage/extras"
    for ((t = generated + 1; t <= count; t++)); do
        nnn=$(printf '%03d' "$t")
        extras+=("$nnn $(echo "${lines[t - 1]}" | awk '{print $1 ":" $2}')")
        if [[ -e "$run/cell/$nnn.cell" ]]; then mv "$run/cell/$nnn.cell" "$stage/extras/"; fi
    done
    printf '%s\n' "${lines[@]:0:generated}" | "$cellpack" write-types "$list" --from -
}

# Copies the staged world into RUN_DIR, replacing only what the data step made before (or
# what is byte for byte the same), and removes what it made before and makes no more.
declare -A fresh=()
install_world() {
    local from=$stage/world file target
    while IFS= read -r -d '' file; do
        file=${file#"$from"/}
        fresh[$file]=1
        target=$run/$file
        [[ -d "${target%/*}" ]] || mkdir -p "${target%/*}"
        # With a manifest, the list was sorted out by take_extras; without one (a RUN_DIR made
        # before there were manifests) an author's list is kept as any other file.
        if [[ -e "$target" ]] && ! { ((generated > 0)) && [[ "$file" == cell/cell.ini ]]; } &&
            ! cmp -s "$target" "$from/$file" &&
            [[ "${made[$file]:-}" != "$(sum_of "$target")" ]]; then
            keep "$target" "was not made by the data step, or was changed since"
        fi
        cp "$from/$file" "$target.part$$"
        mv -f "$target.part$$" "$target"
    done < <(find "$from" -type f -print0)
    for file in "${!made[@]}"; do
        [[ -n "${fresh[$file]:-}" || ! -e "$run/$file" ]] && continue
        if [[ "${made[$file]}" == "$(sum_of "$run/$file")" ]]; then
            rm -f "$run/$file"
        else
            say "$run/$file was changed since the data step made it: kept"
        fi
    done
}

# The hand-appended types are listed again behind the new generated types, their packs
# renamed to their new numbers when those changed.
restore_extras() {
    ((${#extras[@]} > 0)) || return 0
    local count extra old new t
    count=$(type_count "$list")
    t=$count
    for extra in "${extras[@]}"; do
        old=${extra%% *}
        new=$(printf '%03d' $((++t)))
        if [[ -e "$run/cell/$new.cell" ]]; then keep "$run/cell/$new.cell" "was in the way"; fi
        if [[ -e "$stage/extras/$old.cell" ]]; then mv "$stage/extras/$old.cell" "$run/cell/$new.cell"; fi
        "$cellpack" add-type "$list" "${extra#* }" >/dev/null
        if [[ "$old" != "$new" ]]; then say "the type you appended as $old is now type $new"; fi
    done
    say "the types you appended to the list stay listed, from type $((count + 1)) on"
}

# Files in cell/ and gfx/ that neither the data step nor add-mods made.
report_kept() {
    local file name ours
    ours=$(awk '$1 == "type" { print $8 }' "$run/cell/mods.manifest" 2>/dev/null || true)
    while IFS= read -r -d '' file; do
        name=${file#"$run"/}
        [[ -n "${fresh[$name]:-}" || "$name" == cell/mods.manifest ]] && continue
        grep -qxF "$(basename "$name")" <<<"$ours" && [[ "$name" == cell/* ]] && continue
        say "$file is not made by the data step: kept as it is"
    done < <(find "$run/cell" "$run/gfx" -type f -print0 | sort -z)
}

write_manifest() {
    local count file files=()
    count=$(type_count "$list")
    for file in "${!fresh[@]}"; do
        [[ "$file" == cell/cell.ini ]] || files+=("$file")
    done
    {
        echo "# Files the data step made, with their SHA-256: it replaces or removes only these."
        echo "types $count $(head_sum "$list" "$count")"
        # One sha256sum for all (its "SUM  NAME" taken to "SUM NAME"): this runs at every
        # first start.
        if ((${#files[@]} > 0)); then
            (cd "$run" && sha256sum -- "${files[@]}") | sed 's/  / /' | sort -k2
        fi
    } >"$manifest.part$$"
    mv -f "$manifest.part$$" "$manifest"
}

make_world
mkdir -p "$run"
read_manifest
take_extras
# Takes back the own types added last time (an absent folder adds none), so that the new
# sample types can take their numbers.
if [[ -f "$list" ]]; then "$cellpack" add-mods "$stage/no-types" "$run" >/dev/null; fi
install_world
if ! "$cellpack" add-mods "$mods" "$run" >&2; then
    say "some own types of $mods/ were left out (see above)"
fi
write_manifest
restore_extras
report_kept
"$cellpack" check --list "$list" >/dev/null
echo "$stamp" >"$run/.data-stamp"
