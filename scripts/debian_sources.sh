# Sourced by the scripts that build libraries for another target (the browser, Windows) from
# Debian's source packages of the versions the native build links.

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"

# Source packages come from the same suites as the machine's binary packages: adds a deb-src
# entry for them when there is none.
ensure_deb_src() {
    local list=/etc/apt/sources.list.d/vellomira-deb-src.sources
    [[ -f $list ]] && return 0
    echo "Adding $list" >&2
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo tee "$list" >/dev/null
    $sudo apt-get update -qq >&2
}

# The source package of an installed binary package, as NAME=VERSION.
source_of() {
    dpkg-query -W -f='${source:Package}=${source:Version}' "$1"
}

# The cache key part of source packages: NAME-VERSION of each, joined by _, with the characters
# a folder name should not hold replaced.
sources_key() {
    local key="" source
    for source in "$@"; do
        key+="_${source//[=:]/-}"
    done
    echo "${key#_}"
}

# Downloads the source package NAME=VERSION into the current folder: the version itself when
# the archive serves it, otherwise the newest served one of the same upstream release (a
# security update's source may not be served where its binary package was). Prints the
# NAME=VERSION it got.
fetch_source() {
    local name=${1%%=*} version=${1#*=}
    local upstream=${version#*:}
    upstream=${upstream%-*}
    local listed
    listed=$(apt-cache showsrc "$name" | sed -n 's/^Version: //p' | sort -Vru)
    for candidate in "$version" $(grep -F ":$upstream-" <<<"$listed"; grep -E "^$upstream-" <<<"$listed"); do
        if apt-get source -qq --download-only "$name=$candidate" >/dev/null 2>&1; then
            [[ $candidate == "$version" ]] ||
                echo "The archive does not serve the source of $name $version: using $candidate" >&2
            echo "$name=$candidate"
            return 0
        fi
    done
    echo "No source package of $name $upstream can be fetched" >&2
    return 1
}

# Fetches the source packages (NAME=VERSION ...) into the folder and unpacks each into
# FOLDER/src-NAME. Fills the array fetched_sources with the NAME=VERSION actually fetched.
fetch_and_unpack() {
    local folder=$1 source dsc name
    shift
    fetched_sources=()
    for source in "$@"; do
        fetched_sources+=("$(cd "$folder" && fetch_source "$source")")
    done
    (
        cd "$folder"
        for dsc in *.dsc; do
            name=$(basename "$dsc" .dsc)
            dpkg-source -x "$dsc" "src-${name%%_*}"
        done
    ) >&2
}

# Holds an exclusive lock on the file for the rest of the script, so that two runs never build
# into the same prefix at once: the second waits for the first, then finds its work done.
lock_cache() {
    mkdir -p "$(dirname "$1")"
    exec 9>"$1"
    flock 9
}

# Opens the cache of one set of libraries: sets prefix to CACHE/KEY and holds its lock. When the
# libraries there are complete, prints the prefix and ends the script. Otherwise empties the
# prefix and makes the work folder (work, removed when the script ends) with the source packages
# (NAME=VERSION ...) fetched and unpacked in it.
open_library_cache() {
    local cache=$1 key=$2
    shift 2
    prefix=$cache/$key
    lock_cache "$prefix.lock"
    if [[ -f $prefix/.complete ]]; then
        echo "$prefix"
        exit 0
    fi
    build_start=$SECONDS
    echo "Building the libraries into $prefix" >&2
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    fetch_and_unpack "$work" "$@"
    rm -rf "$prefix"
    mkdir -p "$prefix"
}

# Marks the cache complete, listing the source versions built, and prints the prefix.
close_library_cache() {
    printf '%s\n' "${fetched_sources[@]}" >"$prefix/.complete"
    echo "Built the libraries in $((SECONDS - build_start)) s" >&2
    echo "$prefix"
}
