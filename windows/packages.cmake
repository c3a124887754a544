# The Windows packages, with the world of VELLOMIRA_WINDOWS_WORLD (a run folder):
# vellomira-0.3a-windows-x64.zip, the game that plays where it is unpacked, and
# vellomira-0.3a-windows-x64-setup.exe, which installs it under Program Files with its launcher.
set(VELLOMIRA_WINDOWS_WORLD "${CMAKE_SOURCE_DIR}/run" CACHE PATH
    "Run folder whose world the packages hold")
file(GLOB_RECURSE WORLD_FILES CONFIGURE_DEPENDS ${VELLOMIRA_WINDOWS_WORLD}/cell/*
     ${VELLOMIRA_WINDOWS_WORLD}/gfx/*)
if(NOT WORLD_FILES)
    message(FATAL_ERROR "no world (cell/, gfx/) in ${VELLOMIRA_WINDOWS_WORLD}")
endif()

# The licences of what the game is built from: the libraries' copyright files (the cache keeps
# those of the sources it built), the font's, and those of the compiler's runtime libraries.
set(LICENCES
    ${VELLOMIRA_WINDOWS_LIBRARIES}/share/licences/libsdl2.txt=SDL2.txt
    ${VELLOMIRA_WINDOWS_LIBRARIES}/share/licences/zlib.txt=zlib.txt
    ${VELLOMIRA_WINDOWS_LIBRARIES}/share/licences/libpng1.6.txt=libpng.txt
    ${VELLOMIRA_WINDOWS_LIBRARIES}/share/licences/libjpeg-turbo.txt=libjpeg-turbo.txt
    ${VELLOMIRA_WINDOWS_LIBRARIES}/share/licences/freetype.txt=FreeType.txt
    /usr/share/doc/fonts-dejavu-core/copyright=DejaVu-fonts.txt
    /usr/share/doc/mingw-w64-x86-64-dev/copyright=MinGW-w64-runtime.txt
    /usr/share/doc/gcc-mingw-w64-base/copyright=GCC-runtime.txt)
set(LICENCE_FILES ${LICENCES})
list(TRANSFORM LICENCE_FILES REPLACE "=.*" "")

set(ZIP ${CMAKE_BINARY_DIR}/vellomira-${VELLOMIRA_VERSION}-windows-x64.zip)
add_custom_command(
    OUTPUT ${ZIP}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/make_zip.sh ${ZIP} ${CMAKE_BINARY_DIR}/zip
            $<TARGET_FILE:vellomira> $<TARGET_FILE:cellpack> ${CMAKE_BINARY_DIR}/${FONT_NAME}
            ${VELLOMIRA_WINDOWS_WORLD} ${CMAKE_CURRENT_SOURCE_DIR}/README.txt ${LICENCES}
    DEPENDS vellomira cellpack ${CMAKE_CURRENT_SOURCE_DIR}/make_zip.sh ${CMAKE_CURRENT_SOURCE_DIR}/README.txt
            ${WORLD_FILES} ${LICENCE_FILES}
    COMMENT "Zipping the game for Windows")
add_custom_target(windows_zip ALL DEPENDS ${ZIP})

set(INSTALLER ${CMAKE_BINARY_DIR}/vellomira-${VELLOMIRA_VERSION}-windows-x64-setup.exe)
string(REPLACE "," "." VERSION_DOTS ${VERSION_NUMBERS})
add_custom_command(
    OUTPUT ${INSTALLER}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/make_installer.sh ${INSTALLER} ${CMAKE_BINARY_DIR}/installer
            $<TARGET_FILE:vellomira_launcher> $<TARGET_FILE:cellpack> $<TARGET_FILE:vellomira>
            ${CMAKE_BINARY_DIR}/${FONT_NAME} ${VELLOMIRA_WINDOWS_WORLD}
            ${CMAKE_CURRENT_SOURCE_DIR}/README.txt ${ICON_FILE} ${VELLOMIRA_VERSION} ${VERSION_DOTS}
            ${LICENCES}
    DEPENDS vellomira vellomira_launcher cellpack ${CMAKE_CURRENT_SOURCE_DIR}/make_installer.sh
            ${CMAKE_CURRENT_SOURCE_DIR}/installer.nsi ${CMAKE_CURRENT_SOURCE_DIR}/README.txt
            ${WORLD_FILES} ${LICENCE_FILES} ${ICON_FILE}
    COMMENT "Making the installer for Windows")
add_custom_target(windows_installer ALL DEPENDS ${INSTALLER})
