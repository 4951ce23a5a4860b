# zq_add_test(name LABEL unit|widget|media|e2e|print SOURCES ... LIBS ...)
# Each test program has its own main (tests/support) that sets up Qt, and GStreamer for media tests.
function(zq_add_test name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_LABEL)
    set(ARG_LABEL unit)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  zq_set_warnings(${name})
  if(ARG_LABEL STREQUAL "unit")
    set(_main zq_test_main_core)
  elseif(ARG_LABEL STREQUAL "media")
    set(_main zq_test_main_media)
  else()
    set(_main zq_test_main_gui)
  endif()
  target_link_libraries(${name} PRIVATE ${_main} ${ARG_LIBS} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    ZQ_SOURCE_DIR="${CMAKE_SOURCE_DIR}" ZQ_BINARY_DIR="${CMAKE_BINARY_DIR}"
    ZQ_BUNDLE_DIR="${ZQ_BUNDLE_DIR}" ZQ_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data")
  set(_env "QT_QPA_PLATFORM=offscreen;ZQ_BUNDLE_DIR=${ZQ_BUNDLE_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${_env}")
endfunction()
