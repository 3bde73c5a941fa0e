# End-to-end helper programs, built beside zoLapet.exe in the Windows builds:
#   quillo_probe.exe    reads the program's windows, controls and the clipboard
#                       back from inside the same Wine prefix
#   minimal_window.exe  opens one window; the start-up benchmark's baseline
#   standin_browser.exe registered as the default browser: records the command
#                       line it was started with, then ends
# They are test tools and call the Windows API directly.

add_executable(minimal_window WIN32 ${CMAKE_SOURCE_DIR}/e2e/tools/minimal_window.cpp)
target_link_libraries(minimal_window PRIVATE user32 gdi32)

add_executable(standin_browser WIN32 ${CMAKE_SOURCE_DIR}/e2e/tools/standin_browser.cpp)
target_link_libraries(standin_browser PRIVATE shell32)

add_executable(quillo_probe ${CMAKE_SOURCE_DIR}/e2e/tools/quillo_probe.cpp)
target_link_libraries(quillo_probe PRIVATE user32)
# The probe maps a control's form name to its control id (its place in the
# main form's table + 1), so it links the main form, which is plain data.
# Only the objects the form needs are taken from the core library.
file(GLOB QUILLO_PROBE_FORM CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/main_form.cpp)
if(QUILLO_PROBE_FORM)
  target_compile_definitions(quillo_probe PRIVATE QUILLO_PROBE_WITH_FORM)
  target_sources(quillo_probe PRIVATE ${CMAKE_SOURCE_DIR}/e2e/tools/probe_form_link.cpp)
  target_link_libraries(quillo_probe PRIVATE quillo_core)
endif()
