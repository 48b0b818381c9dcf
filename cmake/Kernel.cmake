# The force kernel of the program (simulation/kernel.h): `fast`, the vector passes of
# simulation/fast/, or `reference`, the plain pair loop of simulation/forces.cpp. Both write the
# same bytes; the reference program is there to read and to change.
set(ARGON_MD_KERNEL fast CACHE STRING "Force kernel of the program: fast or reference")
set_property(CACHE ARGON_MD_KERNEL PROPERTY STRINGS fast reference)
if(NOT ARGON_MD_KERNEL MATCHES "^(fast|reference)$")
  message(FATAL_ERROR "ARGON_MD_KERNEL must be fast or reference, not '${ARGON_MD_KERNEL}'")
endif()
message(STATUS "argon-md: the program uses the ${ARGON_MD_KERNEL} force kernel")

# add_argon_md_program(<name> <arithmetic> <power> <kernel>): the program main.cpp built with
# the core of one arithmetic, one kind of powers and one force kernel. Its answer to --version
# (report/command_line.cpp) names them and the project's version.
function(add_argon_md_program name arithmetic power kernel)
  add_executable(${name} ${PROJECT_SOURCE_DIR}/main.cpp
    ${PROJECT_SOURCE_DIR}/report/command_line.cpp)
  target_link_libraries(${name} PRIVATE argon_md_core_${arithmetic} argon_md_powers_${power})
  target_compile_definitions(${name} PRIVATE ARGON_MD_VERSION="${PROJECT_VERSION}"
    ARGON_MD_POWER_KIND="${power}")
  if(kernel STREQUAL "fast")
    target_compile_definitions(${name} PRIVATE ARGON_MD_FAST_KERNEL=1)
  endif()
endfunction()
