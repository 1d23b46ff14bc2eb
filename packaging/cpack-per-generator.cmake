# Read by cpack once per generator.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_PACKAGING_INSTALL_PREFIX "/")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
# The Windows packages are named by the version they carry: an upgrade test
# packs the same build as a later one (cpack -D CPACK_PACKAGE_VERSION=…).
if(CPACK_KX_WINDOWS)
  set(CPACK_PACKAGE_FILE_NAME "kxcalc-${CPACK_PACKAGE_VERSION}-win64")
  string(REPLACE "." ";" parts "${CPACK_PACKAGE_VERSION}.0.0.0")
  list(SUBLIST parts 0 4 parts)
  list(JOIN parts "." CPACK_KX_VERSION_QUAD)
endif()
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
# Every time inside the packages is the commit's (scripts/source-date sets
# it for the whole build; this covers a cpack run by hand and the tests').
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY "${CPACK_KX_SOURCE_DIR}"
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    set(epoch 0)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()
