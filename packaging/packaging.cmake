# The launcher, the installed layout (GNU install directories) and the packages.
#   bin/vellomira                      the launcher (the command players run)
#   bin/cellpack                       the tool for people who make cell types
#   libexec/vellomira/vellomira        the game, which the launcher runs in the player's folder
#   share/vellomira/{cell,gfx}         the sample world
#   share/applications, share/icons/hicolor/{256x256,48x48}/apps, share/man/man{1,6}
#   share/doc/vellomira/               the guide to making cell types (cell-types.md, from
#                                      mods/README.md), the definition template, the copyright
include(GNUInstallDirs)
set(GAME_INSTALL_DIR ${CMAKE_INSTALL_LIBEXECDIR}/vellomira)
set(WORLD_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/vellomira)

# The launcher finds the game and the world relative to itself, so any prefix works.
file(RELATIVE_PATH GAME_FROM_BIN /${CMAKE_INSTALL_BINDIR} /${GAME_INSTALL_DIR}/vellomira)
file(RELATIVE_PATH WORLD_FROM_BIN /${CMAKE_INSTALL_BINDIR} /${WORLD_INSTALL_DIR})
include(${CMAKE_SOURCE_DIR}/launcher/launcher.cmake)
add_launcher(${GAME_FROM_BIN} ${WORLD_FROM_BIN})

# The sample world as it is installed, made by the same script that makes run/.
add_custom_target(world ALL
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/make_data.sh ${CMAKE_BINARY_DIR}
            ${CMAKE_BINARY_DIR}/world ${CMAKE_BINARY_DIR}/world-stage
    DEPENDS makedata cellpack
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    COMMENT "Making the sample world to install")
add_custom_target(icons ALL DEPENDS ${ICON_DIR}/vellomira-256.png ${ICON_DIR}/vellomira-48.png)

install(TARGETS vellomira_launcher cellpack RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS vellomira RUNTIME DESTINATION ${GAME_INSTALL_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/world/cell ${CMAKE_BINARY_DIR}/world/gfx
        DESTINATION ${WORLD_INSTALL_DIR})
install(FILES packaging/vellomira.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 256 48)
    install(FILES ${ICON_DIR}/vellomira-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME vellomira.png)
endforeach()
install(FILES packaging/vellomira.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES packaging/cellpack.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(DOC_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/doc/vellomira)
install(FILES mods/README.md DESTINATION ${DOC_INSTALL_DIR} RENAME cell-types.md)
install(FILES mods/definition-template.ini packaging/copyright DESTINATION ${DOC_INSTALL_DIR})

set(CPACK_PACKAGE_NAME vellomira)
set(CPACK_PACKAGE_VERSION ${VELLOMIRA_VERSION})
set(CPACK_PACKAGE_VENDOR "Vellomira")
set(CPACK_PACKAGE_CONTACT "Vellomira maintainers <maintainers@users.noreply.c-seed-7342833c.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "steer a single cell through a dark liquid world")
# One string (set() would join several with ";"), in lines for the package's description.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "A small real-time game: single cells drift in a dark liquid world that\n"
       "wraps around, and the player steers one of them with the mouse. Comes with\n"
       "its sample world and cellpack, the tool for making cell types.")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_FILE_NAME vellomira-${VELLOMIRA_VERSION}-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries come from the programs themselves; the default font is a file, not a library.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)

# The package built, unpacked and started as a player would (not for a sanitizer build,
# which is no package to give anyone).
if(VELLOMIRA_TESTS AND NOT VELLOMIRA_SANITIZE)
    add_test(NAME package.installs_and_starts_from_anywhere
             COMMAND ${CMAKE_SOURCE_DIR}/tests/package/package_test.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(package.installs_and_starts_from_anywhere PROPERTIES TIMEOUT 300)
endif()
