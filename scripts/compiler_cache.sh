# Sourced by the build scripts: compiler_cache holds cmake's options that compile through
# ccache when it is installed, so that a build tree made again (a clean clone in CI, a
# configuration built anew) takes back what was compiled before from ~/.cache/ccache, keyed
# by the sources, the flags and the compiler. Paths inside the checkout count relative to it
# and the build folder's own path is left out of the key, so that a clone elsewhere finds what
# another clone compiled (debug information then names the first clone's folder).
# CCACHE_DISABLE=1 compiles without it.
compiler_cache=()
if command -v ccache >/dev/null; then
    compiler_cache=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi
