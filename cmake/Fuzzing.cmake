# libFuzzer targets: build with clang, for example
#   cmake -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DZQ_BUILD_FUZZERS=ON -DZQ_ENABLE_ASAN=ON -DZQ_ENABLE_UBSAN=ON
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "ZQ_BUILD_FUZZERS needs clang (set CMAKE_CXX_COMPILER=clang++)")
endif()
add_compile_options(-fsanitize=fuzzer-no-link)

function(zq_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
