# The libraries of a cross build, which a script of scripts/ built into a prefix (include/,
# lib/, .complete): zlib, libpng, libjpeg-turbo and FreeType as the imported targets the
# native build finds, static.
#   prefix_libraries(PREFIX_VARIABLE SCRIPT)
function(prefix_library target file)
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
        IMPORTED_LOCATION "${PREFIX}/lib/${file}"
        INTERFACE_INCLUDE_DIRECTORIES "${PREFIX}/include;${ARGN}")
endfunction()

macro(prefix_libraries variable script)
    set(${variable} "" CACHE PATH "Install prefix of the libraries ${script} built")
    set(PREFIX "${${variable}}")
    if(NOT EXISTS "${PREFIX}/.complete")
        message(FATAL_ERROR "${variable} must be the prefix ${script} prints (now: '${PREFIX}')")
    endif()
    prefix_library(ZLIB::ZLIB libz.a)
    prefix_library(PNG::PNG libpng16.a)
    prefix_library(JPEG::JPEG libjpeg.a)
    prefix_library(Freetype::Freetype libfreetype.a "${PREFIX}/include/freetype2")
    set_target_properties(PNG::PNG Freetype::Freetype PROPERTIES INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
    set(FONT_LIBRARIES Freetype::Freetype)
endmacro()
