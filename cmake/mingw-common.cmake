# Shared by the toolchain files: cross-compiles for Windows with the
# win32-thread variant of mingw-w64. The posix variant's runtime links
# winpthreads, which imports functions Windows XP does not have
# (GetTickCount64); the win32 variant's runtime uses only what XP has.
# The including file sets CMAKE_SYSTEM_PROCESSOR to i686 or x86_64.
set(CMAKE_SYSTEM_NAME Windows)
set(KIRUNE_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER   ${KIRUNE_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${KIRUNE_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER  ${KIRUNE_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KIRUNE_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs run under the Wine loader and prefix of this architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec ${CMAKE_SYSTEM_PROCESSOR})
