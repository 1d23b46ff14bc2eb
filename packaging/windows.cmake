# The Windows release: what a practice installs. Everything sits in one
# folder: the program, the Qt DLLs it links, the platform and style plugins
# Qt loads from beside the program, and the mingw-w64 runtime DLLs; nothing
# else. CPack makes kxcalc-<version>-win64-setup.exe (NSIS) and
# kxcalc-<version>-win64.zip from it (scripts/windows).

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

# The compiler's runtime, where the compiler itself finds it.
foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "The compiler does not know where ${dll} is")
  endif()
  install(FILES ${path} DESTINATION .)
  list(APPEND kx_deploy ${dll})
endforeach()

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

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_FILE_NAME "kxcalc-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "KX Calculator")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_BINARY_DIR}/licence.txt)
configure_file(windows/licence.txt.in ${CMAKE_CURRENT_BINARY_DIR}/licence.txt @ONLY)

# A 64-bit installer: it installs under "Program Files", not the 32-bit
# "Program Files (x86)", and starts on systems with no 32-bit support.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME "${KX_PRODUCT_NAME}")
# Also the Start-menu folder's name: without the version, so that an update
# keeps the entry where the user knows it.
set(CPACK_NSIS_PACKAGE_NAME "${KX_PRODUCT_NAME}")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME kxcalc.exe)
set(CPACK_NSIS_MUI_ICON ${KX_ICON_DIR}/kxcalc.ico)
set(CPACK_NSIS_MUI_UNIICON ${KX_ICON_DIR}/kxcalc.ico)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN kxcalc.exe)
set(CPACK_NSIS_URL_INFO_ABOUT "${KX_HOMEPAGE_URL}")
set(CPACK_NSIS_HELP_LINK "${KX_HOMEPAGE_URL}")
set(CPACK_NSIS_CONTACT "${CPACK_PACKAGE_CONTACT}")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# An older version goes first, so that no file of it stays behind.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
