# Runs the simulation in RUN_DIR and reports it: the console log appears on the terminal,
# converted from Shift-JIS (code page 932) to the terminal's encoding, while the program's own
# bytes are kept in console.log; then argon-md-report writes the trajectory, the plots, g(r),
# the pictures of the atoms and the diffusion coefficient beside the data files.
#   cmake -DPROGRAM=<argon-md> -DREPORT=<argon-md-report> -DRUN_DIR=<dir> -P RunAndReport.cmake

file(MAKE_DIRECTORY "${RUN_DIR}")

# The terminal's encoding, from the locale; the C locale's ASCII cannot show the messages, and
# terminals that run in it nowadays take UTF-8.
execute_process(COMMAND locale charmap OUTPUT_VARIABLE charmap OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE status ERROR_QUIET)
if(NOT status EQUAL 0 OR charmap STREQUAL "" OR charmap MATCHES "^(ANSI_X3.4-1968|ASCII)$")
  set(charmap UTF-8)
endif()

execute_process(
  COMMAND "${PROGRAM}"
  COMMAND tee console.log
  COMMAND iconv -f CP932 -t ${charmap}
  WORKING_DIRECTORY "${RUN_DIR}"
  RESULTS_VARIABLE statuses)
list(GET statuses 0 status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "argon-md ended with status ${status}; what it wrote is in ${RUN_DIR}")
endif()
message("")

execute_process(COMMAND "${REPORT}" "${RUN_DIR}" RESULT_VARIABLE report_status)
message("")
message("console log (Shift-JIS): ${RUN_DIR}/console.log")
message("trajectory: ${RUN_DIR}/trajectory.xyz")
foreach(plot IN ITEMS energy temperature msd rdf)
  if(EXISTS "${RUN_DIR}/${plot}.png")
    message("plot: ${RUN_DIR}/${plot}.png")
  endif()
endforeach()
foreach(picture IN ITEMS snapshot.png trajectory.gif)
  if(EXISTS "${RUN_DIR}/${picture}")
    message("atoms: ${RUN_DIR}/${picture}")
  endif()
endforeach()
foreach(table IN ITEMS msd-average rdf)
  if(EXISTS "${RUN_DIR}/${table}.txt")
    message("table: ${RUN_DIR}/${table}.txt")
  endif()
endforeach()
if(EXISTS "${RUN_DIR}/diffusion.txt")
  # The first line is D with its error, from the MSD averaged over every time origin.
  file(STRINGS "${RUN_DIR}/diffusion.txt" diffusion LIMIT_COUNT 1 ENCODING UTF-8)
  message("diffusion: ${RUN_DIR}/diffusion.txt")
  message("${diffusion}")
endif()
if(NOT report_status EQUAL 0)
  message(FATAL_ERROR "argon-md-report ended with status ${report_status}")
endif()
