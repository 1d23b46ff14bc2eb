# Toolchain of the `windows` preset: 64-bit Windows, cross-built on Linux
# with Debian's mingw-w64 and the Qt for Windows that scripts/windows-qt
# builds into the cache folder (or KX_QT_WINDOWS). Tests run under Wine
# through scripts/wine-run.
if(NOT KX_QT_WINDOWS)
  if(DEFINED ENV{KX_QT_WINDOWS})
    set(KX_QT_WINDOWS "$ENV{KX_QT_WINDOWS}")
  elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(KX_QT_WINDOWS "$ENV{XDG_CACHE_HOME}/kxcalc/qt-6.4.2-mingw")
  else()
    set(KX_QT_WINDOWS "$ENV{HOME}/.cache/kxcalc/qt-6.4.2-mingw")
  endif()
endif()
set(KX_QT_WINDOWS "${KX_QT_WINDOWS}" CACHE PATH "Qt for Windows, as scripts/windows-qt installs it")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KX_QT_WINDOWS)
if(NOT EXISTS "${KX_QT_WINDOWS}/.complete")
  message(FATAL_ERROR "No Qt for Windows in ${KX_QT_WINDOWS}: run scripts/windows-qt first")
endif()

# Qt's own toolchain file chain-loads mingw-w64-x86_64.cmake and points the
# build at the host's Qt tools (moc, rcc, uic).
include("${KX_QT_WINDOWS}/lib/cmake/Qt6/qt.toolchain.cmake")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run;${KX_QT_WINDOWS}/bin")
