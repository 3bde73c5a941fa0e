# The program's resources: the icons are drawn at build time by
# assets/make_icon.py into the build tree, then compiled with the version
# information and the manifest by windres. Sets QUILLO_RESOURCES.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(QUILLO_ICON_DIR ${CMAKE_BINARY_DIR}/resources)
set(QUILLO_MANIFEST ${CMAKE_SOURCE_DIR}/platform/win32/quillo.manifest)
set(QUILLO_ICON_FILES ${QUILLO_ICON_DIR}/quillo.ico ${QUILLO_ICON_DIR}/searchbox.ico)

add_custom_command(
  OUTPUT ${QUILLO_ICON_FILES}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/assets/make_icon.py ${QUILLO_ICON_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/assets/make_icon.py
  COMMENT "Drawing the program's icons"
  VERBATIM)
add_custom_target(quillo_icons DEPENDS ${QUILLO_ICON_FILES})

configure_file(${CMAKE_SOURCE_DIR}/platform/win32/quillo.rc.in ${QUILLO_ICON_DIR}/quillo.rc @ONLY)
set_source_files_properties(${QUILLO_ICON_DIR}/quillo.rc PROPERTIES
  OBJECT_DEPENDS "${QUILLO_ICON_FILES};${QUILLO_MANIFEST}")

set(QUILLO_RESOURCES ${QUILLO_ICON_DIR}/quillo.rc)
