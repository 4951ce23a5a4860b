# The portable program folder: the viewer, the tool, lang/, map/ and an empty config/.
set(ZQ_BUNDLE_DIR ${CMAKE_BINARY_DIR}/bundle)
file(MAKE_DIRECTORY ${ZQ_BUNDLE_DIR}/config)

function(zq_bundle_executable target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZQ_BUNDLE_DIR})
endfunction()
