#!/usr/bin/env bash
# Builds SDL2, zlib, libpng, libjpeg-turbo and FreeType for 64-bit Windows with Debian's
# mingw-w64, from Debian's source packages of the versions the native build links, and Google
# Benchmark for the benchmark the Windows build runs, into a cache outside the clone keyed by
# those versions, the compiler's and the recipe's number; a cache that is there is used as it
# is. Static libraries only: the programs linked with them need no DLL. The cache's .complete
# file lists the source versions built. Prints the cache's install prefix (include/, lib/) on
# standard output, everything else on standard error. Installs the compilers and a deb-src
# entry when they are missing.
#   scripts/windows_libraries.sh
# The cache lives in $VELLOMIRA_WINDOWS_CACHE, by default ~/.cache/vellomira-windows.
set -euo pipefail
cd "$(dirname "$0")/.."
# The recipe's number: raise it whenever the way the libraries are built changes.
recipe=1
scripts/deps.sh --windows >&2
source scripts/debian_sources.sh
ensure_deb_src

installed=()
for package in libsdl2-dev zlib1g-dev libpng-dev libjpeg62-turbo-dev libfreetype-dev \
    libbenchmark-dev; do
    installed+=("$(source_of "$package")")
done
compiler=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
runtime=$(dpkg-query -W -f='${Version}' mingw-w64-x86-64-dev)
key="mingw-${compiler}-${runtime}_$(sources_key "${installed[@]}")_r$recipe"
key=${key//[+~]/-}
cache=${VELLOMIRA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vellomira-windows}
open_library_cache "$cache" "$key" "${installed[@]}"

toolchain=$PWD/windows/toolchain.cmake
flags="-O2"
jobs=$(nproc)
(
    cd "$work/src-zlib"
    # Debian's tarball has no win32/ folder, which zlib's CMake file and makefile for Windows
    # need: its configure, told the target, builds the static library.
    CHOST=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix AR=x86_64-w64-mingw32-ar \
        RANLIB=x86_64-w64-mingw32-ranlib CFLAGS="$flags" ./configure --static --prefix="$prefix"
    make -j "$jobs" libz.a
    make install
) >&2
cmake_library() {
    local source=$1
    shift
    cmake -S "$work/$source" -B "$work/$source/build-windows" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVELLOMIRA_WINDOWS_LIBRARIES="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_INSTALL_PREFIX="$prefix" "$@"
    cmake --build "$work/$source/build-windows" -j "$jobs"
    cmake --install "$work/$source/build-windows"
}
zlib=(-DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include")
(
    cmake_library src-libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
    cmake_library src-libpng1.6 -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF "${zlib[@]}"
    # No SIMD: libjpeg-turbo's vector code needs an assembler the compilers do not bring, and
    # the images are decoded once, at the start.
    cmake_library src-libjpeg-turbo -DWITH_SIMD=0 -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF
    # Only TrueType outlines are read: none of FreeType's optional libraries but zlib, taken
    # from the prefix as Debian's build does.
    cmake_library src-freetype -DBUILD_SHARED_LIBS=OFF -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
        -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON "${zlib[@]}"
    # Its version comes from git, which a source package has not: given as Debian's build does.
    benchmark=$(printf '%s\n' "${fetched_sources[@]}" | sed -n 's/^benchmark=\(.*:\)\{0,1\}\([^-]*\)-.*/\2/p')
    cmake_library src-benchmark -DGIT_VERSION="$benchmark" -DBENCHMARK_ENABLE_TESTING=OFF \
        -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_INSTALL_DOCS=OFF
) >&2
# The licences the programs linked with them come under, from the packages' copyright files.
mkdir -p "$prefix/share/licences"
for source in "$work"/src-*; do
    cp "$source/debian/copyright" "$prefix/share/licences/${source##*/src-}.txt"
done
close_library_cache
