# 64-bit Windows 7 to 11: the Kirune.exe of the win64 zip; also the build
# for hosts whose Wine runs 64-bit code only.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
