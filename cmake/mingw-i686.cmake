# 32-bit Windows, XP included: the Kirune.exe of the win32 zip.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
