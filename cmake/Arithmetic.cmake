# Intermediate precision of every formula: `extended` carries a 64-bit significand inside a
# formula and rounds to double where a value is stored; `double` rounds after every operation.
include(CheckCXXSourceCompiles)

# Every double operation must round to double: no excess precision (x87 arithmetic on 32-bit
# x86 without SSE2 would carry it, and the double arithmetic would silently be another one).
check_cxx_source_compiles([=[
  #include <cfloat>
  static_assert(FLT_EVAL_METHOD == 0);
  int main() { return 0; }
]=] ARGON_MD_DOUBLES_ROUND)
if(NOT ARGON_MD_DOUBLES_ROUND)
  message(FATAL_ERROR "argon-md needs double operations that round to double (FLT_EVAL_METHOD 0); "
                      "on 32-bit x86 configure with -DCMAKE_CXX_FLAGS='-msse2 -mfpmath=sse'")
endif()
check_cxx_source_compiles([=[
  #include <limits>
  static_assert(std::numeric_limits<long double>::digits == 64);
  int main() { return 0; }
]=] ARGON_MD_HAS_EXTENDED)

if(ARGON_MD_HAS_EXTENDED)
  set(argon_md_default_arithmetic extended)
else()
  set(argon_md_default_arithmetic double)
  message(STATUS "argon-md: long double has no 64-bit significand here; "
                 "formulas are evaluated in plain double")
endif()
set(ARGON_MD_ARITHMETIC ${argon_md_default_arithmetic} CACHE STRING
  "Intermediate precision of the formulas: extended or double")
set_property(CACHE ARGON_MD_ARITHMETIC PROPERTY STRINGS extended double)
if(NOT ARGON_MD_ARITHMETIC MATCHES "^(extended|double)$")
  message(FATAL_ERROR "ARGON_MD_ARITHMETIC must be extended or double, not '${ARGON_MD_ARITHMETIC}'")
endif()
if(ARGON_MD_ARITHMETIC STREQUAL "extended" AND NOT ARGON_MD_HAS_EXTENDED)
  message(FATAL_ERROR "ARGON_MD_ARITHMETIC=extended needs a long double with a 64-bit "
                      "significand (x86 or x86-64 with GCC or Clang); use -DARGON_MD_ARITHMETIC=double")
endif()
message(STATUS "argon-md: the program uses ${ARGON_MD_ARITHMETIC} intermediates")

# Both arithmetics are always built (the one not chosen only for tests and benchmarks) where the
# hardware has them, so that one build can compare them.
set(ARGON_MD_ARITHMETICS double)
if(ARGON_MD_HAS_EXTENDED)
  list(APPEND ARGON_MD_ARITHMETICS extended)
endif()
