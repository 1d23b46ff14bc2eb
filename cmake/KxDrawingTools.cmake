# The build-time drawing tools (kx-pictures, kx-icons) turn our SVG art into
# the bitmaps the program and its installers carry. They run on the build
# machine: in a native build they are targets of this build; in a cross
# build (Windows from Linux) they are built for the build machine first, as a
# separate host project, with the host's Qt and its SVG module.
#
# Sets KX_RUN_PICTURES and KX_RUN_ICONS (commands) and KX_PICTURES_DEPENDS
# and KX_ICONS_DEPENDS (what a command that runs them depends on).

# kx_decimal(OUT PERCENT): 125 gives 1.25, 150 gives 1.5, 25 gives 0.25,
# 300 gives 3; written as Qt writes such a number (QString::number), since
# the program finds its bitmaps by these names.
function(kx_decimal out pct)
  math(EXPR whole "${pct} / 100")
  math(EXPR frac "${pct} % 100")
  if(frac EQUAL 0)
    set(${out} ${whole} PARENT_SCOPE)
    return()
  endif()
  if(frac LESS 10)
    set(frac 0${frac})
  endif()
  string(REGEX REPLACE "0$" "" frac "${frac}")
  set(${out} ${whole}.${frac} PARENT_SCOPE)
endfunction()

if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(host_dir ${CMAKE_BINARY_DIR}/host-tools)
  # Nothing of the cross toolchain reaches the host project: it configures
  # with the build machine's own compiler and Qt.
  ExternalProject_Add(kx-host-tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/icons
    BINARY_DIR ${host_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${host_dir}/kx-pictures ${host_dir}/kx-icons
    USES_TERMINAL_BUILD OFF)
  set(KX_RUN_PICTURES ${host_dir}/kx-pictures)
  set(KX_RUN_ICONS ${host_dir}/kx-icons)
  set(KX_PICTURES_DEPENDS kx-host-tools ${host_dir}/kx-pictures)
  set(KX_ICONS_DEPENDS kx-host-tools ${host_dir}/kx-icons)
else()
  add_subdirectory(tools/icons)
  set(KX_RUN_PICTURES $<TARGET_FILE:kx-pictures>)
  set(KX_RUN_ICONS $<TARGET_FILE:kx-icons>)
  if(WIN32)
    # Built on Windows, the tools run before anything is deployed: let them
    # find Qt's DLLs.
    set(qt_path "PATH=path_list_prepend:$<TARGET_FILE_DIR:Qt6::Core>")
    set(KX_RUN_PICTURES ${CMAKE_COMMAND} -E env --modify ${qt_path} ${KX_RUN_PICTURES})
    set(KX_RUN_ICONS ${CMAKE_COMMAND} -E env --modify ${qt_path} ${KX_RUN_ICONS})
  endif()
  set(KX_PICTURES_DEPENDS kx-pictures)
  set(KX_ICONS_DEPENDS kx-icons)
endif()
