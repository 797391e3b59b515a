# Source registration. Each folder under src/ lists its files with
#   morvane_sources(PURE a.cpp ... WIN b.cpp ... FULL c.cpp ... EARLIER d.cpp ...)
# PURE   code that only computes (no windows.h): built in every build, also natively.
# WIN    code that calls the operating system: wine builds only.
# FULL / EARLIER   code of one configuration only (wine builds).
function(morvane_sources)
  cmake_parse_arguments(A "" "" "PURE;WIN;FULL;EARLIER" ${ARGN})
  foreach(kind PURE WIN FULL EARLIER)
    foreach(f ${A_${kind}})
      set_property(GLOBAL APPEND PROPERTY MORVANE_${kind} ${CMAKE_CURRENT_SOURCE_DIR}/${f})
    endforeach()
  endforeach()
endfunction()

# Test executables. Each folder under tests/ declares
#   morvane_test(name SOURCES a.cpp ... [PURE] [LIBS ...])
# A PURE test links only the pure library and is built natively as well; every test is built in the
# wine builds and runs under Wine.
function(morvane_test name)
  cmake_parse_arguments(A "PURE" "" "SOURCES;LIBS" ${ARGN})
  if(NOT MORVANE_WINE AND NOT A_PURE)
    return()
  endif()
  add_executable(${name} ${A_SOURCES} ${MORVANE_TEST_MAIN})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  if(A_PURE)
    target_link_libraries(${name} PRIVATE morvane_pure ${A_LIBS} ${MORVANE_GTEST_LIBS})
  else()
    target_link_libraries(${name} PRIVATE morvane_win ${A_LIBS} ${MORVANE_GTEST_LIBS})
  endif()
  if(MORVANE_WINE)
    target_link_options(${name} PRIVATE -mconsole)
    set_target_properties(${name} PROPERTIES SUFFIX .exe)
    add_test(NAME ${name}
             COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run ${CMAKE_BINARY_DIR}
                     ${CMAKE_CURRENT_BINARY_DIR}/${name}.exe)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine
                         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} TIMEOUT 600)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                         TIMEOUT 600)
  endif()
endfunction()

# Whole-program tests: a Python script under tests/ run against this build's system.exe.
function(morvane_game_test name script)
  if(NOT MORVANE_WINE)
    return()
  endif()
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run ${CMAKE_BINARY_DIR}
                   python3 ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK display
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} TIMEOUT 300)
endfunction()
