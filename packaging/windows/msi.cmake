# CPack's External generator runs this script with the installation staged
# in CPACK_TEMPORARY_DIRECTORY: it makes <package>.msi from it with wixl
# (Debian's wixl, from msitools). The WiX source is kxcalc.wxs; the
# component group of every file but the program comes from wixl-heat. The
# same staged files give the same bytes.
foreach(tool wixl wixl-heat msiinfo msibuild)
  string(MAKE_C_IDENTIFIER ${tool} var)
  find_program(KX_${var} ${tool})
  if(NOT KX_${var})
    message(FATAL_ERROR "No ${tool}: install Debian's wixl and msitools")
  endif()
endforeach()

# wixl takes no absolute source paths: it runs where the stage is.
set(work "${CPACK_TOPLEVEL_DIRECTORY}")
file(RELATIVE_PATH stage "${work}" "${CPACK_TEMPORARY_DIRECTORY}")
set(msi "${CPACK_PACKAGE_FILE_NAME}.msi")
file(COPY_FILE "${CPACK_KX_WXS}" "${work}/kxcalc.wxs")
file(COPY_FILE "${CPACK_NSIS_MUI_ICON}" "${work}/kxcalc.ico")

file(GLOB_RECURSE payload LIST_DIRECTORIES false RELATIVE "${CPACK_TEMPORARY_DIRECTORY}"
     "${CPACK_TEMPORARY_DIRECTORY}/*")
list(REMOVE_ITEM payload "${CPACK_NSIS_INSTALLED_ICON_NAME}")
list(SORT payload)
list(JOIN payload "\n" payload)
file(WRITE "${work}/payload.txt" "${payload}\n")
execute_process(COMMAND "${KX_wixl_heat}" --prefix "" --directory-ref INSTALLDIR
                        --component-group Payload --var var.Stage --win64
                INPUT_FILE payload.txt OUTPUT_VARIABLE heat
                WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
# wixl-heat names each folder by a hash of where the build runs: named by
# its own name instead, the tables are the same from every clone.
string(REGEX REPLACE "Directory Id=\"dir[0-9A-F]+\" Name=\"([^\"]+)\"" "Directory Id=\"dir_\\1\" Name=\"\\1\""
       heat "${heat}")
string(REPLACE "Id=\"dir_.\"" "Id=\"dir_here\"" heat "${heat}")
file(WRITE "${work}/payload.wxs" "${heat}")

# The product code belongs to the version: built again, a version is the
# same product, and a later one replaces it as a major upgrade (the upgrade
# code stays for ever). The package code belongs to these very contents.
# Both are name-based UUIDs, the same in every build.
set(defines
    "Stage=${stage}" Win64=yes Icon=kxcalc.ico
    "Program=${CPACK_NSIS_INSTALLED_ICON_NAME}"
    "ProductName=${CPACK_NSIS_DISPLAY_NAME}"
    "Manufacturer=${CPACK_PACKAGE_VENDOR}"
    "Version=${CPACK_PACKAGE_VERSION}"
    "UpgradeCode=${CPACK_KX_MSI_UPGRADE_CODE}"
    "Summary=${CPACK_PACKAGE_DESCRIPTION_SUMMARY}"
    "HomePage=${CPACK_NSIS_URL_INFO_ABOUT}"
    "Contact=${CPACK_NSIS_CONTACT}")
string(UUID product_code NAMESPACE ${CPACK_KX_MSI_UPGRADE_CODE} NAME "product ${CPACK_PACKAGE_VERSION}"
       TYPE SHA1 UPPER)
file(READ "${work}/kxcalc.wxs" contents)
string(APPEND contents "${heat}${defines}")
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
list(SORT staged)
foreach(file IN LISTS staged)
  file(SHA256 "${file}" digest)
  string(APPEND contents "${digest}")
endforeach()
string(SHA256 contents "${contents}")
string(UUID package_code NAMESPACE ${product_code} NAME "package ${contents}" TYPE SHA1 UPPER)
set(args)
foreach(define IN LISTS defines)
  list(APPEND args -D "${define}")
endforeach()

execute_process(
  COMMAND "${KX_wixl}" -a x64 -o "${msi}" ${args} -D "ProductCode=${product_code}" kxcalc.wxs payload.wxs
  WORKING_DIRECTORY "${work}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT EXISTS "${work}/${msi}")
  message(FATAL_ERROR "wixl failed:\n${out}")
endif()

# wixl 0.101 writes the row of earlier versions without its "maximum
# included" bit (0x200): without it, a build of the same version with
# another product code (one made before the code came from the version)
# would install beside this one instead of being replaced. The table goes
# back in whole.
execute_process(COMMAND "${KX_msiinfo}" export "${msi}" Upgrade
                WORKING_DIRECTORY "${work}" OUTPUT_VARIABLE upgrade COMMAND_ERROR_IS_FATAL ANY)
if(NOT upgrade MATCHES "\t768\t\tOLDERFOUND")
  string(REPLACE "\t256\t\tOLDERFOUND" "\t768\t\tOLDERFOUND" mended "${upgrade}")
  if(mended STREQUAL upgrade)
    message(FATAL_ERROR "An unexpected Upgrade table:\n${upgrade}")
  endif()
  file(WRITE "${work}/Upgrade.idt" "${mended}")
  execute_process(COMMAND "${KX_msibuild}" "${msi}" -i Upgrade.idt
                  WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
endif()

# wixl writes a random package code and the time of the build.
execute_process(COMMAND "${CPACK_KX_BOM}" msi-summary "${msi}" ${package_code}
                WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)

set(CPACK_EXTERNAL_BUILT_PACKAGES "${work}/${msi}")
