# What both Windows toolchains share. The win32 threading variant of the compiler: the programs
# start no threads, and it needs no winpthread DLL.
set(CMAKE_C_COMPILER ${ARGON_MD_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${ARGON_MD_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${ARGON_MD_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ARGON_MD_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Statically linked, so that the .exe needs no DLL beside it: libstdc++ and libgcc are linked in,
# and only the system's own DLLs (KERNEL32, msvcrt) are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
