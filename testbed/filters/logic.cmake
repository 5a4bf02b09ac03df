# The filters' pure logic (no Win32, COM or DirectShow) and its tests; included by the cross
# build and by the native project in host/.
set(FILTERS_DIR ${CMAKE_CURRENT_LIST_DIR})

add_library(mpeg_demux_logic STATIC ${FILTERS_DIR}/demux/ProgramStreamParser.cpp)
target_include_directories(mpeg_demux_logic PUBLIC ${FILTERS_DIR}/demux)

function(filters_logic_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(MAROVIN_FILTERS_HOST)
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "MAROVIN_TEST_OUT=${CMAKE_BINARY_DIR}/test-out/${name}")
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/test-out/${name})
  else()
    marovin_add_test(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS} TIMEOUT ${T_TIMEOUT})
  endif()
  target_include_directories(${name} PRIVATE ${FILTERS_DIR}/tests)
endfunction()

filters_logic_test(filters_ps_parser_tests
  SOURCES ${FILTERS_DIR}/tests/ps_parser_test.cpp ${FILTERS_DIR}/tests/PsBuilder.cpp
  LIBS mpeg_demux_logic
  TIMEOUT 120)

add_library(mpeg_video_logic STATIC
  ${FILTERS_DIR}/decoder/VlcTables.cpp
  ${FILTERS_DIR}/decoder/Idct.cpp
  ${FILTERS_DIR}/decoder/ColourConvert.cpp
  ${FILTERS_DIR}/decoder/Headers.cpp
  ${FILTERS_DIR}/decoder/SliceDecoder.cpp
  ${FILTERS_DIR}/decoder/VideoStreamDecoder.cpp)
target_include_directories(mpeg_video_logic PUBLIC ${FILTERS_DIR}/decoder)

# The software multiplex of the capture graph: Layer II encoder and pack writer (the pack
# writer builds on the virtual card's packet syntax, so only where that library is built).
if(TARGET vcapstream)
  add_library(software_mux_logic STATIC
    ${FILTERS_DIR}/mpegaudioenc/Mp2FrameEncoder.cpp
    ${FILTERS_DIR}/mpegmux/ProgramStreamMux.cpp)
  target_include_directories(software_mux_logic PUBLIC ${FILTERS_DIR}/mpegaudioenc ${FILTERS_DIR}/mpegmux)
  target_link_libraries(software_mux_logic PUBLIC vcapstream)
endif()

filters_logic_test(filters_video_decoder_tests
  SOURCES ${FILTERS_DIR}/tests/video_decoder_test.cpp
  LIBS mpeg_video_logic mpeg_demux_logic
  TIMEOUT 180)
# ffmpeg makes the test streams and its own decode of them before the comparison runs.
add_test(NAME filters_video_streams
  COMMAND sh ${FILTERS_DIR}/tests/make_video_streams.sh ${CMAKE_BINARY_DIR}/test-out/filters_video_decoder_tests)
set_tests_properties(filters_video_streams PROPERTIES FIXTURES_SETUP filters_streams TIMEOUT 120)
set_tests_properties(filters_video_decoder_tests PROPERTIES FIXTURES_REQUIRED filters_streams)
