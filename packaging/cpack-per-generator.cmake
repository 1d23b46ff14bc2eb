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
