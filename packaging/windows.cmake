# The Windows release: what a practice installs. Everything sits in one
# folder: the program, the Qt DLLs it links, the platform and style plugins
# Qt loads from beside the program, and the mingw-w64 runtime DLLs; nothing
# else. CPack makes three packages of it (scripts/windows):
#   kxcalc-<version>-win64-setup.exe  the setup program (NSIS), for everyone
#                                     or for the user alone, in three languages
#   kxcalc-<version>-win64.msi        for IT services (wixl, from msitools)
#   kxcalc-<version>-win64.zip        to run without installing

# Qt is LGPL: it ships as its own DLLs, exactly those the program imports.
set(kx_qt_dlls Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
set(kx_deploy)
foreach(lib IN LISTS kx_qt_dlls)
  install(FILES $<TARGET_FILE:${lib}> DESTINATION .)
  list(APPEND kx_deploy $<TARGET_FILE_NAME:${lib}>)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
list(APPEND kx_deploy platforms/$<TARGET_FILE_NAME:Qt6::QWindowsIntegrationPlugin>
                      styles/$<TARGET_FILE_NAME:Qt6::QWindowsVistaStylePlugin>)
list(TRANSFORM kx_deploy PREPEND qt: OUTPUT_VARIABLE kx_shipped)

# The compiler's runtime, where the compiler itself finds it.
foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "The compiler does not know where ${dll} is")
  endif()
  install(FILES ${path} DESTINATION .)
  list(APPEND kx_deploy ${dll})
  list(APPEND kx_shipped ${dll}=${path})
endforeach()

# The licence texts and copyright notices of everything shipped, in the
# folder "licences": README.txt there says what each file contains
# (packaging/bom notices). What Qt compiled into its DLLs comes from the
# record scripts/windows-qt keeps beside Qt; the runtime's notices are its
# Debian packages' copyright files.
set(kx_record ${KX_QT_WINDOWS}/kxcalc-third-party/record.json)
if(NOT EXISTS ${kx_record})
  message(FATAL_ERROR "No record of Qt's third-party code in ${KX_QT_WINDOWS}: run scripts/windows-qt")
endif()
set(kx_licences ${CMAKE_CURRENT_BINARY_DIR}/licences)
add_custom_command(OUTPUT ${kx_licences}/README.txt
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/bom notices ${KX_QT_WINDOWS}/kxcalc-third-party ${kx_licences}
          ${KX_PRODUCT_NAME} ${PROJECT_VERSION} ${KX_COPYRIGHT} $<TARGET_FILE_NAME:kxcalc> ${kx_shipped}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_BINARY_DIR}/licence.txt ${kx_licences}/licence.txt
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/bom ${kx_record} ${CMAKE_CURRENT_BINARY_DIR}/licence.txt
  COMMENT "Collecting the licences of what the Windows packages ship"
  VERBATIM)
add_custom_target(kxcalc-licences ALL DEPENDS ${kx_licences}/README.txt)
install(DIRECTORY ${kx_licences}/ DESTINATION licences)

# The DLLs come as built, with their symbol tables: stripped, the whole
# folder shrinks from about 60 to 25 MB.
if(CMAKE_STRIP)
  install(CODE "
    foreach(file ${kx_deploy})
      execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${file}\"
                      RESULT_VARIABLE rc)
      if(NOT rc EQUAL 0)
        message(FATAL_ERROR \"Cannot strip \${file}\")
      endif()
    endforeach()")
endif()

set(CPACK_GENERATOR NSIS External ZIP)
set(CPACK_KX_WINDOWS ON)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "KX Calculator")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_BINARY_DIR}/licence.txt)
configure_file(windows/licence.txt.in ${CMAKE_CURRENT_BINARY_DIR}/licence.txt @ONLY)
# Where the setup writes the first language: the program's own place
# (packaging/language-setting), under HKEY_CURRENT_USER. CPack writes its
# variables into its configuration as they are, so the key's backslashes go
# in doubled.
string(REPLACE "\\" "\\\\" CPACK_KX_SETTINGS_KEY "${KX_SETTINGS_KEY}\\${KX_SETTINGS_APP}\\${KX_SETTINGS_SECTION}")
set(CPACK_KX_SETTINGS_VALUE "${KX_SETTINGS_NAME}")
# The MSI's upgrade code: the same in every version for ever, so that each
# replaces the one before.
set(CPACK_KX_MSI_UPGRADE_CODE 1A131D21-E369-4C28-AB85-46C7246574C2)

# The setup program: our own NSIS script (windows/NSIS.template.in), which
# CPack finds on its module path in place of its own.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR}/windows)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_DISPLAY_NAME "${KX_PRODUCT_NAME}")
set(CPACK_NSIS_PACKAGE_NAME "${KX_PRODUCT_NAME}")
set(CPACK_NSIS_INSTALLED_ICON_NAME kxcalc.exe)
set(CPACK_NSIS_MUI_ICON ${KX_ICON_DIR}/kxcalc.ico)
set(CPACK_NSIS_MUI_UNIICON ${KX_ICON_DIR}/kxcalc.ico)
set(CPACK_NSIS_URL_INFO_ABOUT "${KX_HOMEPAGE_URL}")
set(CPACK_NSIS_HELP_LINK "${KX_HOMEPAGE_URL}")
set(CPACK_NSIS_CONTACT "${CPACK_PACKAGE_CONTACT}")

# The MSI: CPack stages the installation and windows/msi.cmake runs wixl.
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/windows/msi.cmake)
set(CPACK_KX_WXS ${CMAKE_CURRENT_SOURCE_DIR}/windows/kxcalc.wxs)
