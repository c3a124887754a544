# The Windows build's libraries: SDL2, zlib, libpng, libjpeg-turbo, FreeType and Google
# Benchmark cross-compiled by scripts/windows_libraries.sh into the prefix it prints, given here
# as VELLOMIRA_WINDOWS_LIBRARIES, all static; GoogleTest compiled from Debian's sources with the
# tests. No fontconfig: the game ships its font.
if(NOT EXISTS "${VELLOMIRA_WINDOWS_LIBRARIES}/.complete")
    message(FATAL_ERROR "VELLOMIRA_WINDOWS_LIBRARIES must be the prefix "
                        "scripts/windows_libraries.sh prints (now: '${VELLOMIRA_WINDOWS_LIBRARIES}')")
endif()

function(windows_library target file)
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
        IMPORTED_LOCATION "${VELLOMIRA_WINDOWS_LIBRARIES}/lib/${file}"
        INTERFACE_INCLUDE_DIRECTORIES "${VELLOMIRA_WINDOWS_LIBRARIES}/include;${ARGN}")
endfunction()
windows_library(ZLIB::ZLIB libz.a)
windows_library(PNG::PNG libpng16.a)
set_target_properties(PNG::PNG PROPERTIES INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
windows_library(JPEG::JPEG libjpeg.a)
windows_library(Freetype::Freetype libfreetype.a "${VELLOMIRA_WINDOWS_LIBRARIES}/include/freetype2")
set_target_properties(Freetype::Freetype PROPERTIES INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
set(FONT_LIBRARIES Freetype::Freetype)
# SDL2 without its main: the game's main is its own.
windows_library(PkgConfig::SDL2 libSDL2.a "${VELLOMIRA_WINDOWS_LIBRARIES}/include/SDL2")
set_target_properties(PkgConfig::SDL2 PROPERTIES
    INTERFACE_COMPILE_DEFINITIONS SDL_MAIN_HANDLED
    INTERFACE_LINK_LIBRARIES "setupapi;winmm;imm32;version;ole32;oleaut32;uuid;gdi32")
windows_library(benchmark::benchmark libbenchmark.a)
set_target_properties(benchmark::benchmark PROPERTIES
    INTERFACE_COMPILE_DEFINITIONS BENCHMARK_STATIC_DEFINE INTERFACE_LINK_LIBRARIES shlwapi)
set(benchmark_FOUND TRUE)

# One .exe with nothing beside it: the C++ and C runtimes and the thread library linked in.
add_link_options(-static)
