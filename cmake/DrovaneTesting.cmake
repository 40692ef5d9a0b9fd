# Registering GoogleTest executables with CTest, natively and under Wine.
include(GoogleTest)

# drovane_add_gtest(<target> LABELS <label>...)
# Natively every test case becomes a CTest test. In a cross build for Windows
# the whole executable is one test, run under the emulator (Wine) through
# wine-exit-status.exe (tests/wine), because Wine alone reports exit codes
# modulo 256. No display is given: these tests must not need one.
function(drovane_add_gtest target)
  cmake_parse_arguments(ARG "" "" "LABELS" ${ARGN})
  if(CMAKE_CROSSCOMPILING AND WIN32)
    if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
      message(WARNING "No Wine found: ${target} is built but not registered as a test")
      return()
    endif()
    add_test(NAME ${target}
      COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:wine-exit-status>
        $<TARGET_FILE:${target}> --gtest_color=no)
    set_tests_properties(${target} PROPERTIES
      LABELS "${ARG_LABELS}"
      TIMEOUT 300
      ENVIRONMENT "WINEDEBUG=-all"
      ENVIRONMENT_MODIFICATION "DISPLAY=unset:")
  elseif(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}")
  else()
    gtest_discover_tests(${target}
      PROPERTIES LABELS "${ARG_LABELS}"
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
