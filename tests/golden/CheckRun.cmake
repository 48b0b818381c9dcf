# A complete 10000-step run, pinned: runs PROGRAM in a scratch directory, its console going to
# console.log, and checks the console log and the three data files with `sha256sum -c` against
# DIGESTS, as a user checks a build of their own. Where RUN (a gzipped tar of the pinned files) is
# given, a file that differs is compared with its pinned bytes, which names the first line that
# differs. Where POW_CHECK is given, the run is skipped unless that program says the C library's
# pow is the one the digests were made with.
#   cmake -DPROGRAM=<program> -DDIGESTS=<run>.sha256 [-DRUN=<run>.tar.gz] [-DPOW_CHECK=<program>]
#         -DSCRATCH=<dir> -P CheckRun.cmake
#
# After a deliberate change, in a scratch directory: `<program> > console.log`, then
# `sha256sum console.log position.dat energy.dat msd.dat > <run>.sha256` and
# `tar czf <run>.tar.gz console.log position.dat energy.dat msd.dat`.

if(POW_CHECK)
  execute_process(COMMAND "${POW_CHECK}" RESULT_VARIABLE status OUTPUT_VARIABLE reason)
  if(NOT status EQUAL 0)
    message("skipped: ${reason}")
    return()
  endif()
endif()

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}/pinned")
execute_process(COMMAND "${PROGRAM}" WORKING_DIRECTORY "${SCRATCH}" OUTPUT_FILE console.log
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ended with status ${status}")
endif()
execute_process(COMMAND sha256sum -c --quiet "${DIGESTS}" WORKING_DIRECTORY "${SCRATCH}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  if(RUN)
    file(ARCHIVE_EXTRACT INPUT "${RUN}" DESTINATION "${SCRATCH}/pinned")
    foreach(file IN ITEMS console.log position.dat energy.dat msd.dat)
      execute_process(COMMAND cmp "pinned/${file}" "${file}" WORKING_DIRECTORY "${SCRATCH}")
    endforeach()
  endif()
  message(FATAL_ERROR "the run of ${PROGRAM} differs from the pinned one")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
