# Makes the Debian package of this build and has lintian judge it: any error
# fails, warnings are shown; then checks its bill of materials (check-sbom).
#   cmake -DCPACK=... -DCONFIG=.../CPackConfig.cmake -DOUT=... -DLINTIAN=... -P check-deb.cmake
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${CPACK}" -G DEB --config "${CONFIG}" -B "${OUT}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB deb "${OUT}/*.deb")
if(NOT result EQUAL 0 OR NOT deb)
  message(FATAL_ERROR "cpack -G DEB failed (${result}):\n${output}")
endif()
execute_process(COMMAND "${LINTIAN}" --fail-on error --tag-display-limit 0 "${deb}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lintian found errors in ${deb}")
endif()
message(STATUS "lintian: no errors in ${deb}")
execute_process(COMMAND "${CMAKE_CURRENT_LIST_DIR}/check-sbom" "${deb}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the bill of materials of ${deb} is not valid")
endif()
