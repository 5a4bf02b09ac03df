# Precompiled headers, each built once and reused: the Windows headers take about two seconds
# of compiler time per source and GoogleTest's another three, on the 2-core machines we build on.
# A target reusing a header gets it included ahead of its own, so only code that includes
# those headers anyway uses them.
set(MAROVIN_PCH_SOURCE ${CMAKE_CURRENT_LIST_DIR}/MarovinPch.cpp)

# Win32 code: the framework, the skin and text libraries, the program.
add_library(marovin_win_pch STATIC ${MAROVIN_PCH_SOURCE})
target_precompile_headers(marovin_win_pch PRIVATE <windows.h> <commctrl.h> <string> <vector>)

# DirectShow code: the base classes, the graph toolkit and device table, the test bed's filters.
add_library(marovin_dshow_pch STATIC ${MAROVIN_PCH_SOURCE})
target_precompile_headers(marovin_dshow_pch PRIVATE <windows.h> <dshow.h> <string> <vector>)

# Test programs under Wine.
add_library(marovin_test_pch STATIC ${MAROVIN_PCH_SOURCE})
target_precompile_headers(marovin_test_pch PRIVATE <windows.h> <gtest/gtest.h> <string> <vector>)
target_link_libraries(marovin_test_pch PRIVATE GTest::gtest)

# marovin_use_pch(KIND target...): KIND is WIN or DSHOW.
function(marovin_use_pch kind)
  string(TOLOWER ${kind} kind)
  foreach(target ${ARGN})
    target_precompile_headers(${target} REUSE_FROM marovin_${kind}_pch)
  endforeach()
endfunction()
