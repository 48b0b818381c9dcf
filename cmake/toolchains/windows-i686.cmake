# 32-bit Windows console programs, cross-built with Debian's mingw-w64 (g++-mingw-w64-i686).
#   cmake -B build/win32 --toolchain cmake/toolchains/windows-i686.cmake -DBUILD_TESTING=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ARGON_MD_MINGW_TRIPLET i686-w64-mingw32)
# Every double operation must round to double, as on x86-64: SSE2 for double, while long double
# stays the x87's 64-bit significand for the extended arithmetic.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
