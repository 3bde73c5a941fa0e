# Windows builds: the product zoLapet.exe, plus the end-to-end helper programs.
# The C and C++ runtimes are linked statically, so the executables import
# system DLLs only.
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections -s)

file(GLOB QUILLO_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
enable_language(RC)
include(${CMAKE_SOURCE_DIR}/platform/win32/resources.cmake OPTIONAL)
add_executable(zoLapet WIN32 ${QUILLO_WIN32_SOURCES} ${QUILLO_RESOURCES})
target_link_libraries(zoLapet PRIVATE quillo_core
  user32 gdi32 shell32 advapi32 wininet ole32 oleaut32 uuid comctl32 msimg32)
set_target_properties(zoLapet PROPERTIES OUTPUT_NAME zoLapet SUFFIX .exe)

include(${CMAKE_SOURCE_DIR}/e2e/windows_tools.cmake OPTIONAL)
