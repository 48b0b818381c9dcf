# How this machine runs the 32-bit Windows programs, found at configure time.
#
# Wine's 32-bit loader runs natively where the kernel runs 32-bit x86 programs. A kernel built
# without that support answers "Exec format error"; there the loader runs inside qemu-i386, qemu's
# user-mode emulator. Wine starts every further process by exec'ing <its directory>/wine-preloader,
# so a private copy of its loader directory, whose wine-preloader starts qemu-i386, has every 32-bit
# process emulated while the 64-bit ones run natively. Either way is trusted only once it has run
# Wine's --version and then a small 32-bit .exe in the prefix the tests use.

# qemu before 10 runs the 32-bit Wine, but at 45 to 57 s of CPU for each Wine process (making the
# prefix took 18 minutes with Debian 12's 7.2); 10.0 makes the prefix in 25 s.
set(ARGON_MD_QEMU_MAJOR_NEEDED 10)

# Wine's loaders find their files relative to their own directory, and name the paths they take:
# each its ntdll.so, as ../<multiarch>/wine/<cpu>-unix/ntdll.so, and the 64-bit ntdll.so the data
# directory, as ../../share/wine. Sets `links` to the paths the private directory must mirror.
function(argon_md_wine_layout bindir)
  set(links "")
  foreach(loader IN ITEMS wine wine64)
    if(NOT EXISTS ${bindir}/${loader})
      set(reason "Wine has no ${bindir}/${loader} (the 32-bit loader is Debian package wine32:i386)"
          PARENT_SCOPE)
      return()
    endif()
    file(STRINGS ${bindir}/${loader} ntdll REGEX "^(\\.\\./)+[^./][^/]*/.*/ntdll\\.so$")
    if(NOT ntdll OR NOT EXISTS ${bindir}/${ntdll})
      string(CONCAT reason "Wine is not laid out as expected: ${bindir}/${loader} names no "
                           "ntdll.so that exists relative to it (found: ${ntdll})")
      set(reason "${reason}" PARENT_SCOPE)
      return()
    endif()
    string(REGEX MATCH "^(\\.\\./)+[^/]+" multiarch "${ntdll}")
    list(APPEND links ${multiarch})
  endforeach()
  file(STRINGS ${bindir}/${ntdll} data REGEX "^(\\.\\./)+[^./][^/]*/wine$")
  if(NOT data OR NOT EXISTS ${bindir}/${data}/wine.inf)
    string(CONCAT reason "Wine is not laid out as expected: ${bindir}/${ntdll} names no data "
                         "directory holding wine.inf relative to ${bindir} (found: ${data})")
    set(reason "${reason}" PARENT_SCOPE)
    return()
  endif()
  list(APPEND links ${data})
  set(links ${links} PARENT_SCOPE)
endfunction()

# The private loader directory: the loader directory's path again under `root`, so that what the
# loaders find relative to themselves lands inside it too. It holds copies of the two loaders
# (Wine takes its directory from /proc/self/exe, which would lead a link back to the system's),
# links to wineserver and to those relative paths, and a wine-preloader that runs the 32-bit
# loader in qemu-i386; "-L /" has qemu take the 32-bit libraries from the system's own multiarch
# directories. Sets `private_bindir`.
function(argon_md_make_wine_loader_dir bindir links root qemu)
  set(pbin ${root}${bindir})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${pbin})
  file(COPY ${bindir}/wine ${bindir}/wine64 DESTINATION ${pbin})
  file(CREATE_LINK ${bindir}/wineserver ${pbin}/wineserver SYMBOLIC)
  foreach(link IN LISTS links)
    cmake_path(ABSOLUTE_PATH link BASE_DIRECTORY ${pbin} NORMALIZE OUTPUT_VARIABLE place)
    cmake_path(IS_PREFIX root ${place} inside)
    if(NOT inside)
      set(reason "Wine is not laid out as expected: ${bindir}/${link} climbs above /" PARENT_SCOPE)
      return()
    endif()
    file(REAL_PATH ${bindir}/${link} target)
    get_filename_component(parent ${place} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${target} ${place} SYMBOLIC)
  endforeach()
  file(WRITE ${pbin}/wine-preloader "#!/bin/sh\nexec '${qemu}' -L / \"$@\"\n")
  file(CHMOD ${pbin}/wine-preloader PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
       GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(private_bindir ${pbin} PARENT_SCOPE)
endfunction()

# The qemu way: sets `wine32` (the command that runs a 32-bit program) and `wine64` to the private
# loaders, or `reason` to why it cannot work here.
function(argon_md_wine32_under_qemu wine64_found)
  find_program(ARGON_MD_QEMU_I386 qemu-i386)
  if(NOT ARGON_MD_QEMU_I386)
    string(CONCAT reason "qemu-i386 was not found (Debian package qemu-user, version "
                         "${ARGON_MD_QEMU_MAJOR_NEEDED} or later)")
    set(reason "${reason}" PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND ${ARGON_MD_QEMU_I386} --version OUTPUT_VARIABLE version ERROR_QUIET)
  if(NOT version MATCHES "version (([0-9]+)\\.[0-9.]+)")
    set(reason "${ARGON_MD_QEMU_I386} --version names no version: ${version}" PARENT_SCOPE)
    return()
  endif()
  set(version "qemu-i386 ${CMAKE_MATCH_1}")
  if(CMAKE_MATCH_2 LESS ARGON_MD_QEMU_MAJOR_NEEDED)
    string(CONCAT reason "${version} is too slow for Wine (about a minute of CPU for each Wine "
                         "process): version ${ARGON_MD_QEMU_MAJOR_NEEDED} or later is needed, "
                         "which Debian 12 has in bookworm-backports")
    set(reason "${reason}" PARENT_SCOPE)
    return()
  endif()
  file(REAL_PATH ${wine64_found} wine64_real)
  get_filename_component(bindir ${wine64_real} DIRECTORY)
  argon_md_wine_layout(${bindir})
  if(reason)
    set(reason "${reason}" PARENT_SCOPE)
    return()
  endif()
  argon_md_make_wine_loader_dir(${bindir} "${links}" ${CMAKE_CURRENT_BINARY_DIR}/wine-loader
                                ${ARGON_MD_QEMU_I386})
  if(reason)
    set(reason "${reason}" PARENT_SCOPE)
    return()
  endif()
  set(wine32 ${private_bindir}/wine-preloader ${private_bindir}/wine)
  execute_process(COMMAND ${wine32} --version RESULT_VARIABLE status OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out MATCHES "^wine-")
    set(reason "Wine 32-bit loader does not start inside ${version}: ${out}" PARENT_SCOPE)
    return()
  endif()
  set(wine32 ${wine32} PARENT_SCOPE)
  set(wine64 ${private_bindir}/wine64 PARENT_SCOPE)
  set(qemu_version ${version} PARENT_SCOPE)
endfunction()

# Makes the prefix and runs a small 32-bit .exe, built here, there; sets `reason` where it fails.
function(argon_md_wine32_runs_exe wine32 prefix_command environment)
  find_program(ARGON_MD_MINGW_I686_CC i686-w64-mingw32-gcc-win32)
  set(check ${CMAKE_CURRENT_BINARY_DIR}/wine32-check)
  file(WRITE ${check}.c "#include <stdio.h>\nint main(void) {\n"
                        "    printf(\"%u-bit\\n\", (unsigned)(8 * sizeof(void*)));\n}\n")
  execute_process(COMMAND ${ARGON_MD_MINGW_I686_CC} -static -o ${check}.exe ${check}.c
                  RESULT_VARIABLE status ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    set(reason "the 32-bit check program did not build: ${out}" PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} ${prefix_command}
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE out TIMEOUT 900)
  if(NOT status EQUAL 0)
    set(reason "Wine could not make its prefix: ${out}" PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} ${wine32} ${check}.exe
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 120)
  if(NOT status EQUAL 0 OR NOT out MATCHES "^32-bit\r?\n$")
    set(reason "Wine did not run a 32-bit program (${check}.exe): ${out}" PARENT_SCOPE)
  endif()
endfunction()

# Chooses the way and checks it. Sets ARGON_MD_WINE32_SKIP (why the 32-bit programs are not
# tested; empty where they are), ARGON_MD_WINE32 (the command that runs a 32-bit .exe),
# ARGON_MD_WINE64_LOADER, ARGON_MD_WINE_PREFIX and ARGON_MD_PREFIX_COMMAND. Each way has a prefix
# of its own, so that one made while 32-bit programs could not run is never taken for complete.
function(argon_md_choose_wine32 wine wineboot system_wine64 environment_base)
  set(wine64 ${system_wine64})
  set(reason "")
  set(why "")
  set(wine32 ${wine})
  set(prefix_command ${wineboot} --init)
  execute_process(COMMAND ${wine} --version RESULT_VARIABLE status OUTPUT_QUIET
                  ERROR_VARIABLE native_error)
  if(status EQUAL 0)
    set(way native)
    set(how "natively, since this kernel runs 32-bit x86 programs")
  else()
    string(REGEX MATCH "[^:\n]*\n?$" native_error "${native_error}")
    string(STRIP "${native_error}" native_error)
    set(why "this kernel cannot run 32-bit x86 programs (wine --version: ${native_error})")
    argon_md_wine32_under_qemu(${system_wine64})
    set(way qemu)
    string(CONCAT how "inside ${qemu_version}, since ${why}, through the private loader "
                      "directory ${CMAKE_CURRENT_BINARY_DIR}/wine-loader")
    set(prefix_command ${wine64} wineboot --init)
  endif()
  set(prefix ${CMAKE_CURRENT_BINARY_DIR}/wine-prefix-${way})
  if(NOT reason)
    argon_md_wine32_runs_exe("${wine32}" "${prefix_command}"
                             "WINEPREFIX=${prefix};${environment_base}")
  endif()
  if(reason)
    set(prefix ${CMAKE_CURRENT_BINARY_DIR}/wine-prefix-64-bit)
    set(wine64 ${system_wine64})
    set(prefix_command ${wine64} wineboot --init)
    if(why)
      set(reason "${why}, and ${reason}")
    endif()
    # The reason becomes a string in the tests' source: no quotes, no list separators.
    string(REGEX REPLACE "[\"'`$;\\\\\r\n]+" " " reason "${reason}")
    message(STATUS "argon-md: the 32-bit Windows programs are built but not tested: ${reason}")
  else()
    message(STATUS "argon-md: the 32-bit Windows programs run under Wine ${how}")
  endif()
  set(ARGON_MD_WINE32_SKIP "${reason}" PARENT_SCOPE)
  set(ARGON_MD_WINE32 ${wine32} PARENT_SCOPE)
  set(ARGON_MD_WINE64_LOADER ${wine64} PARENT_SCOPE)
  set(ARGON_MD_WINE_PREFIX ${prefix} PARENT_SCOPE)
  set(ARGON_MD_PREFIX_COMMAND ${prefix_command} PARENT_SCOPE)
endfunction()
