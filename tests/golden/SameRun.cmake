# The fast and the reference program, each run in a scratch directory of its own, write the same
# console log and data files, byte for byte.
#   cmake -DFAST=<program> -DREFERENCE=<program> -DSCRATCH=<dir> -P SameRun.cmake

file(REMOVE_RECURSE "${SCRATCH}")
foreach(kernel IN ITEMS FAST REFERENCE)
  file(MAKE_DIRECTORY "${SCRATCH}/${kernel}")
  execute_process(COMMAND "${${kernel}}" WORKING_DIRECTORY "${SCRATCH}/${kernel}"
                  OUTPUT_FILE console.log RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${${kernel}} ended with status ${status}")
  endif()
endforeach()
foreach(file IN ITEMS console.log position.dat energy.dat msd.dat)
  execute_process(COMMAND cmp "FAST/${file}" "REFERENCE/${file}" WORKING_DIRECTORY "${SCRATCH}"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${file} of ${REFERENCE} differs from that of ${FAST}")
  endif()
endforeach()
file(REMOVE_RECURSE "${SCRATCH}")
