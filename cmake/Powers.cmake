# The powers of the formulas (simulation/powers/powers.h): `exact`, the correctly rounded
# powers, the same on every IEEE-754 machine; or `libm`, the C library's pow bit for bit, which
# differs between C libraries and, with glibc on x86-64, between processors with and without FMA.
set(ARGON_MD_POWER exact CACHE STRING "Powers of the formulas: exact (correctly rounded) or libm")
set_property(CACHE ARGON_MD_POWER PROPERTY STRINGS exact libm)
if(NOT ARGON_MD_POWER MATCHES "^(exact|libm)$")
  message(FATAL_ERROR "ARGON_MD_POWER must be exact or libm, not '${ARGON_MD_POWER}'")
endif()
if(ARGON_MD_POWER STREQUAL "exact")
  message(STATUS "argon-md: the program uses correctly rounded powers")
else()
  message(STATUS "argon-md: the program uses the C library's pow")
endif()

# What the build targets and what the processor adds (simulation/exact/processor.h).
add_library(argon_md_processor STATIC ${PROJECT_SOURCE_DIR}/simulation/exact/processor.cpp)
target_include_directories(argon_md_processor PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(argon_md_processor PUBLIC argon_md_flags)

# Both are always built; a program links exactly one of them.
add_library(argon_md_power_chain STATIC ${PROJECT_SOURCE_DIR}/simulation/powers/power_chain.cpp)
target_link_libraries(argon_md_power_chain PUBLIC argon_md_processor)
add_library(argon_md_powers_exact STATIC
  ${PROJECT_SOURCE_DIR}/simulation/powers/rounded_powers.cpp
  ${PROJECT_SOURCE_DIR}/simulation/powers/big_integer.cpp)
add_library(argon_md_powers_libm STATIC ${PROJECT_SOURCE_DIR}/simulation/powers/libm_powers.cpp)
foreach(power IN ITEMS exact libm)
  target_link_libraries(argon_md_powers_${power} PUBLIC argon_md_power_chain)
endforeach()
