# tallow_add_gtest(<name> SOURCES ... LIBS ... [ENVIRONMENT VAR=value ...])
# One GoogleTest executable; each test case becomes its own CTest entry.
function(tallow_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest GTest::gtest_main)
  if(ARG_ENVIRONMENT)
    # gtest_discover_tests passes a list-valued ENVIRONMENT property on as
    # separate arguments, so only its first entry would arrive. Running the
    # tests (and their discovery) through env(1) carries every entry.
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "env;${ARG_ENVIRONMENT}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120)
endfunction()
