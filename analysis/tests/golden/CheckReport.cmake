# The report of a pinned run, pinned: unpacks RUN (the run's console log and data files) in a
# scratch directory, runs REPORT there without gnuplot, and checks its standard output, standard
# error and text outputs with `sha256sum -c` against DIGESTS. Without gnuplot the report still
# writes every text output and says, with exit status 1, that no picture was drawn.
#   cmake -DREPORT=<argon-md-report> -DRUN=<run>.tar.gz -DDIGESTS=<report>.sha256
#         -DSCRATCH=<dir> -P CheckReport.cmake
#
# After a deliberate change, in the scratch directory: `sha256sum report.out report.err
# validation.txt diffusion.txt msd-average.txt rdf.txt trajectory.xyz > <report>.sha256`.

file(REMOVE_RECURSE "${SCRATCH}")
file(ARCHIVE_EXTRACT INPUT "${RUN}" DESTINATION "${SCRATCH}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env PATH=/nonexistent "${REPORT}" .
                WORKING_DIRECTORY "${SCRATCH}" OUTPUT_FILE report.out ERROR_FILE report.err
                RESULT_VARIABLE status)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "${REPORT} ended with status ${status}, not 1 (no gnuplot)")
endif()
execute_process(COMMAND sha256sum -c --quiet "${DIGESTS}" WORKING_DIRECTORY "${SCRATCH}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the report of ${RUN} differs from the pinned one (in ${SCRATCH})")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
