# The browser build's libraries: zlib, libpng, libjpeg-turbo and FreeType compiled to
# WebAssembly by scripts/web_libraries.sh into the prefix it prints, given here as
# VELLOMIRA_WEB_LIBRARIES. No SDL2 and no fontconfig: the web platform stands in for both.
include(${CMAKE_SOURCE_DIR}/cmake/prefix_libraries.cmake)
prefix_libraries(VELLOMIRA_WEB_LIBRARIES scripts/web_libraries.sh)
