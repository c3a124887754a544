# The launcher, vellomira_launcher (a program named vellomira): add_launcher(GAME WORLD) with
# the paths of the game and the world relative to the launcher's folder where they are
# installed. Its files for one system end in _posix or _windows.
# It reads the manifest of cellpack add-mods to tell what a start made in cell/, and shows a
# failed start in the desktop's message box.
function(add_launcher game_from_bin world_from_bin)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/launcher/*.cpp)
    list(FILTER sources EXCLUDE REGEX "_(posix|windows)\\.cpp$")
    file(GLOB system_sources CONFIGURE_DEPENDS
         ${CMAKE_SOURCE_DIR}/launcher/*_${VELLOMIRA_SYSTEM}.cpp)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
    # All but its main, for the tests too, which show no message box: the program links the
    # desktop backend.
    add_library(launcher_parts STATIC ${sources} ${system_sources}
                ${CMAKE_SOURCE_DIR}/tools/cellpack/mods_manifest.cpp
                ${CMAKE_SOURCE_DIR}/tools/cellpack/file_bytes.cpp)
    target_link_libraries(launcher_parts PUBLIC runtime)
    add_executable(vellomira_launcher ${CMAKE_SOURCE_DIR}/launcher/main.cpp)
    target_link_libraries(vellomira_launcher PRIVATE launcher_parts runtime platform_sdl2)
    target_compile_definitions(vellomira_launcher PRIVATE
        VELLOMIRA_VERSION="${VELLOMIRA_VERSION}"
        VELLOMIRA_GAME_FROM_BIN="${game_from_bin}"
        VELLOMIRA_WORLD_FROM_BIN="${world_from_bin}"
        VELLOMIRA_PROGRAM_SUFFIX="${CMAKE_EXECUTABLE_SUFFIX}")
    # In the build tree the launcher sits in launcher/, the game one folder up, as the launcher
    # looks for it when it finds no installed game.
    set_target_properties(vellomira_launcher PROPERTIES
        OUTPUT_NAME vellomira RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/launcher)
endfunction()
