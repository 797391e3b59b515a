# Source registration. Each folder under src/ lists its files with
#   morvane_sources(PURE a.cpp ... WIN b.cpp ... HOST c.cpp ... NATIVE d.cpp ... FULL e.cpp ...)
# PURE         code that only computes (no windows.h): every build, also natively.
# WIN          code that calls the operating system: Windows builds only.
# HOST         the program's (Win32) side of a seam that pure code calls (clock, host files): in
#              the Windows builds it belongs to the pure library.
# NATIVE       the native build's side of the same seams.
# FULL, EARLIER          pure code of one configuration: its Windows build, and natively.
# FULL_WIN, EARLIER_WIN  platform code of one configuration: its Windows build only.
function(morvane_sources)
  cmake_parse_arguments(A "" "" "PURE;WIN;HOST;NATIVE;FULL;EARLIER;FULL_WIN;EARLIER_WIN" ${ARGN})
  foreach(kind PURE WIN HOST NATIVE FULL EARLIER FULL_WIN EARLIER_WIN)
    foreach(f ${A_${kind}})
      set_property(GLOBAL APPEND PROPERTY MORVANE_${kind} ${CMAKE_CURRENT_SOURCE_DIR}/${f})
    endforeach()
  endforeach()
endfunction()

# Test executables. Each folder under tests/ declares
#   morvane_test(name SOURCES a.cpp ... [PURE] [FULL] [LIBS ...] [DEFINES ...])
# A PURE test links only the pure library. It is built natively twice, against the full
# configuration's pure code (name) and the earlier one's (name_earlier, with MORVANE_EARLIER
# defined for the test's own expectations). Every test is built in the Windows builds (a console
# executable) and runs under Wine. A FULL test is of the full configuration's own code: the full builds only.
function(morvane_test name)
  cmake_parse_arguments(A "PURE;FULL" "" "SOURCES;LIBS;DEFINES" ${ARGN})
  if((NOT MORVANE_WINDOWS AND NOT A_PURE) OR (A_FULL AND MORVANE_EARLIER))
    return()
  endif()
  if(MORVANE_WINDOWS)
    morvane_test_target(${name} "${A_SOURCES}" "${A_LIBS}" "${A_DEFINES}" ${A_PURE} ${MORVANE_EARLIER})
  else()
    morvane_test_target(${name} "${A_SOURCES}" "${A_LIBS}" "${A_DEFINES}" ON OFF)
    if(A_FULL)
      return()
    endif()
    morvane_test_target(${name}_earlier "${A_SOURCES}" "${A_LIBS}" "${A_DEFINES}" ON ON)
  endif()
endfunction()

function(morvane_test_target name sources libs defines pure earlier)
  add_executable(${name} ${sources} ${MORVANE_TEST_MAIN})
  target_compile_definitions(${name} PRIVATE ${defines})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  if(earlier)
    target_compile_definitions(${name} PRIVATE MORVANE_EARLIER=1)
  endif()
  if(NOT MORVANE_WINDOWS AND earlier)
    set(base morvane_pure_earlier)
  elseif(pure)
    set(base morvane_pure)
  else()
    set(base morvane_win)
  endif()
  target_link_libraries(${name} PRIVATE ${base} ${libs} ${MORVANE_GTEST_LIBS})
  if(MORVANE_WINDOWS)
    add_test(NAME ${name}
             COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run ${CMAKE_BINARY_DIR} $<TARGET_FILE:${name}>)
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
  if(NOT MORVANE_WINDOWS)
    return()
  endif()
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run ${CMAKE_BINARY_DIR}
                   python3 ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK display
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} TIMEOUT 300)
endfunction()
