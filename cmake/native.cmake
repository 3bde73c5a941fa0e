# Host build: the behaviour against the in-memory desktop, with the unit tests.

# The libFuzzer build (clang). Coverage of the code under test steers the
# fuzzer, so every library and program of this tree is instrumented; the fuzz
# targets below also link libFuzzer itself.
if(QUILLO_FUZZ)
  set(QUILLO_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_compile_options(quillo_core PRIVATE ${QUILLO_FUZZ_FLAGS})
  add_compile_options(${QUILLO_FUZZ_FLAGS})
  add_link_options(-fsanitize=address,undefined)
  # clang 14 converts literals to UTF-8 only and rejects -fexec-charset=GBK.
  # Rather than not build, such a fuzz build keeps the program's literals in
  # UTF-8: the parsers fuzzed here take every text from the fuzzer, and the
  # fuzz sources write the GBK bytes they need as escapes. The unit tests of
  # such a tree compare GBK bytes: run them from a g++ build.
  include(CheckCXXCompilerFlag)
  check_cxx_compiler_flag(-fexec-charset=GBK QUILLO_CXX_HAS_GBK_CHARSET)
  if(NOT QUILLO_CXX_HAS_GBK_CHARSET)
    get_property(options DIRECTORY PROPERTY COMPILE_OPTIONS)
    list(REMOVE_ITEM options -fexec-charset=GBK)
    set_property(DIRECTORY PROPERTY COMPILE_OPTIONS ${options})
    get_property(options TARGET quillo_core PROPERTY COMPILE_OPTIONS)
    list(REMOVE_ITEM options -fexec-charset=GBK)
    set_property(TARGET quillo_core PROPERTY COMPILE_OPTIONS ${options})
  endif()
endif()

file(GLOB QUILLO_SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/sim/*.cpp)
add_library(quillo_sim STATIC ${QUILLO_SIM_SOURCES})
target_link_libraries(quillo_sim PUBLIC quillo_core)
find_package(Threads REQUIRED)
target_link_libraries(quillo_core PUBLIC Threads::Threads)

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB QUILLO_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
add_executable(quillo_tests ${QUILLO_TEST_SOURCES})
target_link_libraries(quillo_tests PRIVATE quillo_sim GTest::gtest GTest::gtest_main)
gtest_discover_tests(quillo_tests DISCOVERY_TIMEOUT 60)

# Programs for the people around the program (the page author's tool).
file(GLOB QUILLO_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
foreach(src ${QUILLO_TOOL_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE quillo_core)
endforeach()

# Benchmarks (Google Benchmark), run by hand or by the test script, never as tests.
find_package(benchmark QUIET)
file(GLOB QUILLO_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*.cpp)
if(benchmark_FOUND AND QUILLO_BENCH_SOURCES)
  add_executable(quillo_bench ${QUILLO_BENCH_SOURCES})
  target_link_libraries(quillo_bench PRIVATE quillo_sim benchmark::benchmark benchmark::benchmark_main)
endif()

# libFuzzer targets, one per parser of outside input (clang only).
if(QUILLO_FUZZ)
  file(GLOB QUILLO_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
  foreach(src ${QUILLO_FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE quillo_sim)
  endforeach()
endif()

# Enciphered online info blocks made by openssl, independently of the program's
# cipher, and the page author's tool, both for the unit tests.
set(QUILLO_ONLINE_FIXTURES ${CMAKE_BINARY_DIR}/online_fixtures)
add_custom_command(OUTPUT ${QUILLO_ONLINE_FIXTURES}/made
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/fixtures/make_online_blocks.sh ${QUILLO_ONLINE_FIXTURES} ${QUILLO_ONLINE_KEY_TEXT}
  DEPENDS ${CMAKE_SOURCE_DIR}/tests/fixtures/make_online_blocks.sh
  COMMENT "Making the online block fixtures with openssl" VERBATIM)
add_custom_target(quillo_online_fixtures DEPENDS ${QUILLO_ONLINE_FIXTURES}/made)
add_dependencies(quillo_tests quillo_online_fixtures)
target_compile_definitions(quillo_tests PRIVATE QUILLO_ONLINE_FIXTURES="${QUILLO_ONLINE_FIXTURES}")
if(TARGET quillo_blocktool)
  add_dependencies(quillo_tests quillo_blocktool)
  target_compile_definitions(quillo_tests PRIVATE QUILLO_BLOCKTOOL="$<TARGET_FILE:quillo_blocktool>")
endif()
