# Host build: the behaviour against the in-memory desktop, with the unit tests.
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
