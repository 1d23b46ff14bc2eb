# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix thread
# model: Qt and the program use std::thread and std::mutex, which the win32
# model lacks). Used both for building Qt itself and for the program; Qt
# remembers this file by its absolute path, so scripts/windows-qt copies it
# into the Qt cache folder before configuring Qt.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
