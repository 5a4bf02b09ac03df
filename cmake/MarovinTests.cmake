# Test programs are GoogleTest executables run by ctest under wine64 (the cross emulator).
# tools/test.sh runs ctest inside tools/with-wine.sh, so every test sees a cloned prefix,
# an Xvfb display and a warm wineserver.
enable_testing()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (Debian's googletest package)")
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(MAROVIN_TEST_TIMEOUT 120 CACHE STRING "Default per-test timeout in seconds")

# marovin_add_test(name SOURCES a.cpp ... [LIBS lib ...] [TIMEOUT s] [LABELS l ...] [GUI] [NO_PCH])
# Builds a console GoogleTest program and registers it with ctest. GUI programs link
# the same way: -mconsole keeps their output visible to ctest. The Windows and GoogleTest
# headers come precompiled (NO_PCH: for portable code that must not see <windows.h>).
function(marovin_add_test name)
  cmake_parse_arguments(T "GUI;NO_PCH" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(NOT T_NO_PCH)
    target_precompile_headers(${name} REUSE_FROM marovin_test_pch)
  endif()
  target_link_options(${name} PRIVATE -mconsole)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT ${MAROVIN_TEST_TIMEOUT})
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "MAROVIN_TEST_OUT=${CMAKE_BINARY_DIR}/test-out/${name}")
  # Tests that show windows or read the screen share one display: run them one at a time so
  # no window of one test covers, focuses or captures another's.
  if(T_GUI)
    set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK display)
  endif()
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/test-out/${name})
endfunction()

# Unix path of a build artefact as Wine sees it (Z: maps the root).
function(marovin_wine_path out unix_path)
  set(${out} "Z:${unix_path}" PARENT_SCOPE)
endfunction()
