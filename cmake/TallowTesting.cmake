# tallow_add_gtest(<name> SOURCES ... LIBS ... [ENVIRONMENT VAR=value ...])
# One GoogleTest executable; each test case becomes its own CTest entry.
function(tallow_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
endfunction()
