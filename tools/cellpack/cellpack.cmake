# What the cellpack target needs beyond its sources, on every system that builds it: the
# definition template it prints (which the Linux package also installs beside the guide),
# compiled in from mods/definition-template.ini.
set(DEFINITION_TEMPLATE_FILE ${CMAKE_SOURCE_DIR}/mods/definition-template.ini)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${DEFINITION_TEMPLATE_FILE})
file(READ ${DEFINITION_TEMPLATE_FILE} DEFINITION_TEMPLATE)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/definition_template.inc
     CONTENT "R\"template(@DEFINITION_TEMPLATE@)template\"\n" @ONLY)
target_include_directories(cellpack PRIVATE ${CMAKE_BINARY_DIR}/generated)
