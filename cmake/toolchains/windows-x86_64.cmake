# 64-bit Windows console programs, cross-built with Debian's mingw-w64 (g++-mingw-w64-x86-64).
#   cmake -B build/win64 --toolchain cmake/toolchains/windows-x86_64.cmake -DBUILD_TESTING=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ARGON_MD_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
