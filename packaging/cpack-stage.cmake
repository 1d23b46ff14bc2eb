# Run by cpack for each package: on the staged files before it packs them
# (CPACK_PRE_BUILD_SCRIPTS), and after (CPACK_POST_BUILD_SCRIPTS, which
# knows CPACK_PACKAGE_FILES).
if(NOT DEFINED CPACK_PACKAGE_FILES)
  # The setup and the MSI's cabinet keep each file's time (CPack's own
  # archives take SOURCE_DATE_EPOCH themselves): the commit's, as the rest.
  file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
  execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" "${CPACK_TEMPORARY_DIRECTORY}" ${staged}
                  COMMAND_ERROR_IS_FATAL ANY)
  if(CPACK_GENERATOR STREQUAL "NSIS")
    # The setup's files one by one in a fixed order, not in the order the
    # file system lists a folder (NSIS's File /r), and the uninstaller's
    # list from the same.
    file(GLOB_RECURSE files RELATIVE "${CPACK_TEMPORARY_DIRECTORY}" "${CPACK_TEMPORARY_DIRECTORY}/*")
    list(SORT files)
    set(CPACK_KX_NSIS_FILES "")
    set(CPACK_KX_NSIS_DELETE "")
    set(dirs "")
    set(current "-")
    foreach(file IN LISTS files)
      get_filename_component(dir "${file}" DIRECTORY)
      string(REPLACE "/" "\\" file "${file}")
      if(NOT dir STREQUAL current)
        set(current "${dir}")
        string(REPLACE "/" "\\" dir "${dir}")
        if(dir)
          string(APPEND CPACK_KX_NSIS_FILES "  SetOutPath \"$INSTDIR\\${dir}\"\n")
          list(PREPEND dirs "${dir}")
        else()
          string(APPEND CPACK_KX_NSIS_FILES "  SetOutPath \"$INSTDIR\"\n")
        endif()
      endif()
      string(APPEND CPACK_KX_NSIS_FILES "  File \"\${INST_DIR}\\${file}\"\n")
      string(APPEND CPACK_KX_NSIS_DELETE "  Delete \"$INSTDIR\\${file}\"\n")
    endforeach()
    # The Start-menu entry takes the output folder as its working folder.
    string(APPEND CPACK_KX_NSIS_FILES "  SetOutPath \"$INSTDIR\"")
    list(REMOVE_DUPLICATES dirs)
    foreach(dir IN LISTS dirs)
      string(APPEND CPACK_KX_NSIS_DELETE "  RMDir \"$INSTDIR\\${dir}\"\n")
    endforeach()
  endif()
  return()
endif()

# Each package's bill of materials beside it (packaging/bom).
set(ENV{KX_VERSION} "${CPACK_PACKAGE_VERSION}")
set(ENV{KX_COPYRIGHT} "${CPACK_KX_COPYRIGHT}")
# The commit the program was built from, for anyone who builds it again.
execute_process(COMMAND git rev-parse HEAD WORKING_DIRECTORY "${CPACK_KX_SOURCE_DIR}"
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
execute_process(COMMAND git status --porcelain --untracked-files=no WORKING_DIRECTORY "${CPACK_KX_SOURCE_DIR}"
                OUTPUT_VARIABLE changes ERROR_QUIET)
if(changes)
  string(APPEND commit " with changes not committed")
endif()
set(ENV{KX_COMMIT} "${commit}")
# The .tar.gz holds the .deb's files and depends on the same: its
# dependencies are the .deb's, made before it.
file(GLOB deb "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_NAME}_${CPACK_PACKAGE_VERSION}_*.deb")
set(ENV{KX_DEB} "${deb}")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.(deb|tar\\.gz|zip|exe|msi)$")
    get_filename_component(name "${package}" NAME)
    execute_process(COMMAND "${CPACK_KX_BOM}" sbom "${package}" "${CPACK_TEMPORARY_DIRECTORY}"
                            "${CPACK_PACKAGE_DIRECTORY}/${name}.spdx.json"
                    RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "No bill of materials for ${name}:\n${err}")
    endif()
  endif()
endforeach()
