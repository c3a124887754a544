#!/usr/bin/env bash
# Builds zlib, libpng, libjpeg-turbo and FreeType for WebAssembly from Debian's source packages
# of the versions the native build links, into a cache outside the clone keyed by those
# versions, the compiler's and the recipe's number; a cache that is there is used as it is. The
# cache's .complete file lists the source versions built. Prints
# the cache's install prefix (include/, lib/) on standard output, everything else on standard
# error. Installs emscripten and a deb-src entry when they are missing (scripts/debian_sources.sh).
#   scripts/web_libraries.sh
# The cache lives in $VELLOMIRA_WEB_CACHE, by default ~/.cache/vellomira-web.
set -euo pipefail
cd "$(dirname "$0")/.."
# The recipe's number: raise it whenever the way the libraries are built changes.
recipe=2
scripts/deps.sh emscripten >&2
source scripts/web_env.sh

source scripts/debian_sources.sh
ensure_deb_src

# The native build's development packages name the source packages and versions to build.
installed=()
for package in zlib1g-dev libpng-dev libjpeg62-turbo-dev libfreetype-dev; do
    installed+=("$(source_of "$package")")
done
compiler=$(emcc --version | sed -n '1s/.* \([0-9][0-9.]*\) .*/\1/p')
key="emcc-${compiler}_$(sources_key "${installed[@]}")_r$recipe"
cache=${VELLOMIRA_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vellomira-web}
open_library_cache "$cache" "$key" "${installed[@]}"

flags="-O2"
jobs=$(nproc)
(
    cd "$work/src-zlib"
    # Debian's tarball has no win32/ folder, which zlib's CMake file needs: its configure works.
    CFLAGS="$flags" emconfigure ./configure --static --prefix="$prefix"
    emmake make -j "$jobs" libz.a
    emmake make install
) >&2
cmake_library() {
    local source=$1
    shift
    emcmake cmake -S "$work/$source" -B "$work/$source/build-web" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="$flags" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_FIND_ROOT_PATH="$prefix" "$@"
    cmake --build "$work/$source/build-web" -j "$jobs"
    cmake --install "$work/$source/build-web"
}
(
    cmake_library src-libpng1.6 -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
        -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
    # No SIMD: libjpeg-turbo's vector code is x86 and ARM assembly. Its type size checks run
    # test programs the cross build cannot run, so the sizes of wasm32 are given.
    cmake_library src-libjpeg-turbo -DWITH_SIMD=0 -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF \
        -DHAVE_SIZE_T=TRUE -DSIZE_T=4 -DHAVE_UNSIGNED_LONG=TRUE -DUNSIGNED_LONG=4
    # Only TrueType outlines are read: none of FreeType's optional libraries but zlib, which
    # it takes from the prefix (as Debian's build does) instead of compiling a copy of its own.
    cmake_library src-freetype -DBUILD_SHARED_LIBS=OFF -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
        -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON \
        -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
) >&2
close_library_cache
