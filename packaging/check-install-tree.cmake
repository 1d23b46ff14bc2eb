# Installs the build into a scratch folder and checks that the desktop finds
# everything it looks for: the program, the desktop entry, the metainfo and
# the icon at every size, each PNG of the size its folder names; and the
# copyright, changelog and manual page Debian asks for.
#   cmake -DBUILD_DIR=... -DDEST=... -DAPP_ID=... -DICON_SIZES=16;24;... -P check-install-tree.cmake
file(REMOVE_RECURSE "${DEST}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${DEST}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    bin/kxcalc
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/${APP_ID}.svg
    share/doc/kxcalc/copyright
    share/doc/kxcalc/changelog.gz
    share/man/man1/kxcalc.1.gz)
foreach(size IN LISTS ICON_SIZES)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${DEST}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

# Nothing else: no test program, tool or library slips into the package.
file(GLOB_RECURSE installed RELATIVE "${DEST}" "${DEST}/*")
list(REMOVE_ITEM installed ${expected})
if(installed)
  message(FATAL_ERROR "installed but not expected: ${installed}")
endif()

foreach(size IN LISTS ICON_SIZES)
  set(png "${DEST}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
  # The width and height stand big-endian in the PNG header's IHDR chunk.
  file(READ "${png}" header OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING "${header}" 0 8 w)
  string(SUBSTRING "${header}" 8 8 h)
  math(EXPR w "0x${w}")
  math(EXPR h "0x${h}")
  if(NOT w EQUAL size OR NOT h EQUAL size)
    message(FATAL_ERROR "${png}: ${w} x ${h}, expected ${size} x ${size}")
  endif()
endforeach()
list(LENGTH expected n)
message(STATUS "all ${n} files installed")
