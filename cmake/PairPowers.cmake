# The powers of sigma / r. They do not depend on the arithmetic of the formulas, so one library
# serves both. Where the C library's pow is the one whose rounding the fast path reproduces, the
# powers come from exact products; elsewhere from std::pow.
add_library(argon_md_lj_powers STATIC ${PROJECT_SOURCE_DIR}/simulation/lj_powers.cpp)
target_include_directories(argon_md_lj_powers PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(argon_md_lj_powers PUBLIC argon_md_flags)

include(CheckCXXSourceCompiles)
set(CMAKE_REQUIRED_INCLUDES ${PROJECT_SOURCE_DIR})
check_cxx_source_compiles([=[
  #include "simulation/lj_powers.h"
  static_assert(argon::kLjPowersFastPath);
  int main() { return 0; }
]=] ARGON_MD_LJ_POWERS_FAST_PATH)
unset(CMAKE_REQUIRED_INCLUDES)
if(ARGON_MD_LJ_POWERS_FAST_PATH)
  message(STATUS "argon-md: pair powers from exact products, equal to glibc's pow bit for bit")
else()
  message(STATUS "argon-md: pair powers from std::pow (the fast path needs glibc >= 2.29 on "
                 "x86-64 or AArch64)")
endif()
