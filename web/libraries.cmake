# The browser build's libraries: zlib, libpng, libjpeg-turbo and FreeType compiled to
# WebAssembly by scripts/web_libraries.sh into the prefix it prints, given here as
# VELLOMIRA_WEB_LIBRARIES. No SDL2 and no fontconfig: the web platform stands in for both.
set(VELLOMIRA_WEB_LIBRARIES "" CACHE PATH "Install prefix of the WebAssembly libraries")
if(NOT EXISTS "${VELLOMIRA_WEB_LIBRARIES}/.complete")
    message(FATAL_ERROR "VELLOMIRA_WEB_LIBRARIES must be the prefix scripts/web_libraries.sh "
                        "prints (now: '${VELLOMIRA_WEB_LIBRARIES}')")
endif()

function(web_library target file)
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
        IMPORTED_LOCATION "${VELLOMIRA_WEB_LIBRARIES}/lib/${file}"
        INTERFACE_INCLUDE_DIRECTORIES "${VELLOMIRA_WEB_LIBRARIES}/include;${ARGN}")
endfunction()
web_library(ZLIB::ZLIB libz.a)
web_library(PNG::PNG libpng16.a)
set_target_properties(PNG::PNG PROPERTIES INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
web_library(JPEG::JPEG libjpeg.a)
web_library(Freetype::Freetype libfreetype.a "${VELLOMIRA_WEB_LIBRARIES}/include/freetype2")
set(FONT_LIBRARIES Freetype::Freetype)
