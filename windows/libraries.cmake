# The Windows build's libraries: SDL2, zlib, libpng, libjpeg-turbo, FreeType and Google
# Benchmark cross-compiled by scripts/windows_libraries.sh into the prefix it prints, given here
# as VELLOMIRA_WINDOWS_LIBRARIES, all static; GoogleTest compiled from Debian's sources with the
# tests. No fontconfig: the game ships its font.
include(${CMAKE_SOURCE_DIR}/cmake/prefix_libraries.cmake)
prefix_libraries(VELLOMIRA_WINDOWS_LIBRARIES scripts/windows_libraries.sh)
# SDL2 without its main: the game's main is its own.
prefix_library(PkgConfig::SDL2 libSDL2.a "${VELLOMIRA_WINDOWS_LIBRARIES}/include/SDL2")
set_target_properties(PkgConfig::SDL2 PROPERTIES
    INTERFACE_COMPILE_DEFINITIONS SDL_MAIN_HANDLED
    INTERFACE_LINK_LIBRARIES "setupapi;winmm;imm32;version;ole32;oleaut32;uuid;gdi32")
prefix_library(benchmark::benchmark libbenchmark.a)
set_target_properties(benchmark::benchmark PROPERTIES
    INTERFACE_COMPILE_DEFINITIONS BENCHMARK_STATIC_DEFINE INTERFACE_LINK_LIBRARIES shlwapi)
set(benchmark_FOUND TRUE)

# One .exe with nothing beside it: the C++ and C runtimes and the thread library linked in.
add_link_options(-static)
