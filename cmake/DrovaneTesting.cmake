# Registering GoogleTest executables with CTest, natively and under Wine.
include(GoogleTest)

# drovane_add_gtest(<target> LABELS <label>...)
# Natively every test case becomes a CTest test; in a cross build the whole
# executable is one test, run through CMAKE_CROSSCOMPILING_EMULATOR (Wine).
function(drovane_add_gtest target)
  cmake_parse_arguments(ARG "" "" "LABELS" ${ARGN})
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}")
  else()
    gtest_discover_tests(${target}
      PROPERTIES LABELS "${ARG_LABELS}"
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
