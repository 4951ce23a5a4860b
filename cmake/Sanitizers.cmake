# Sanitizers are switched on for the whole build, so every library and test agrees on the runtime.
set(_zq_sanitizers "")
if(ZQ_ENABLE_ASAN)
  list(APPEND _zq_sanitizers address)
endif()
if(ZQ_ENABLE_UBSAN)
  list(APPEND _zq_sanitizers undefined)
endif()
if(_zq_sanitizers)
  list(JOIN _zq_sanitizers "," _zq_sanitize_list)
  add_compile_options(-fsanitize=${_zq_sanitize_list} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=${_zq_sanitize_list})
endif()

# The sanitizer build's tests keep the leak check on, so that a leak in our own code fails its test. The
# libraries' one-time allocations, which live until the process ends, are suppressed by
# tests/support/lsan-suppressions.txt. ctest reads the file below before any test folder, so the setting
# reaches the discovery of the test cases as well as the tests and the programs they start.
if(ZQ_ENABLE_ASAN)
  set(ZQ_LSAN_SUPPRESSIONS ${CMAKE_SOURCE_DIR}/tests/support/lsan-suppressions.txt)
  set(_zq_sanitizer_test_env ${CMAKE_BINARY_DIR}/SanitizerTestEnvironment.cmake)
  file(WRITE ${_zq_sanitizer_test_env} "\
# Written by cmake/Sanitizers.cmake. Options a user sets in LSAN_OPTIONS and UBSAN_OPTIONS stay in force.
if(NOT \"\$ENV{LSAN_OPTIONS}\" MATCHES \"suppressions=\")
  if(\"\$ENV{LSAN_OPTIONS}\" STREQUAL \"\")
    set(ENV{LSAN_OPTIONS} \"suppressions=${ZQ_LSAN_SUPPRESSIONS}:print_suppressions=0\")
  else()
    set(ENV{LSAN_OPTIONS} \"\$ENV{LSAN_OPTIONS}:suppressions=${ZQ_LSAN_SUPPRESSIONS}:print_suppressions=0\")
  endif()
endif()
# Library code keeps no frame pointers, so the fast unwinder stops at the first library frame and a
# library's constructor could not be told from our code; the full unwinder, ten frames deep, can.
# GCC 12's runtime misreads glibc's dynamic thread-local blocks and the leak checker then crashes at exit
# (\"Tracer caught signal 11\") after a test has passed; not following __tls_get_addr avoids that.
if(NOT \"\$ENV{ASAN_OPTIONS}\" MATCHES \"fast_unwind_on_malloc=\")
  if(\"\$ENV{ASAN_OPTIONS}\" STREQUAL \"\")
    set(ENV{ASAN_OPTIONS} \"fast_unwind_on_malloc=0:malloc_context_size=10:intercept_tls_get_addr=0\")
  else()
    set(ENV{ASAN_OPTIONS} \"\$ENV{ASAN_OPTIONS}:fast_unwind_on_malloc=0:malloc_context_size=10:intercept_tls_get_addr=0\")
  endif()
endif()
if(\"\$ENV{UBSAN_OPTIONS}\" STREQUAL \"\")
  set(ENV{UBSAN_OPTIONS} \"print_stacktrace=1\")
endif()
")
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES ${_zq_sanitizer_test_env})
endif()
