# CPack's External generator runs this script with the installation staged
# in CPACK_TEMPORARY_DIRECTORY: it makes <package>.msi from it with wixl
# (Debian's wixl, from msitools). The WiX source is kxcalc.wxs; the
# component group of every file but the program comes from wixl-heat.
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
                INPUT_FILE payload.txt OUTPUT_FILE payload.wxs
                WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)

execute_process(
  COMMAND "${KX_wixl}" -a x64 -o "${msi}"
          -D "Stage=${stage}" -D Win64=yes -D Icon=kxcalc.ico
          -D "Program=${CPACK_NSIS_INSTALLED_ICON_NAME}"
          -D "ProductName=${CPACK_NSIS_DISPLAY_NAME}"
          -D "Manufacturer=${CPACK_PACKAGE_VENDOR}"
          -D "Version=${CPACK_PACKAGE_VERSION}"
          -D "UpgradeCode=${CPACK_KX_MSI_UPGRADE_CODE}"
          -D "Summary=${CPACK_PACKAGE_DESCRIPTION_SUMMARY}"
          -D "HomePage=${CPACK_NSIS_URL_INFO_ABOUT}"
          -D "Contact=${CPACK_NSIS_CONTACT}"
          kxcalc.wxs payload.wxs
  WORKING_DIRECTORY "${work}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT EXISTS "${work}/${msi}")
  message(FATAL_ERROR "wixl failed:\n${out}")
endif()

# wixl 0.101 writes the row of earlier versions without its "maximum
# included" bit (0x200): without it, another build of the same version
# would install beside this one instead of replacing it. The table goes
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

set(CPACK_EXTERNAL_BUILT_PACKAGES "${work}/${msi}")
