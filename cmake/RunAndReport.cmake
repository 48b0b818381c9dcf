# Runs the simulation in RUN_DIR and reports it, in a few screen lines: the console log's first
# and last lines, converted from Shift-JIS (code page 932) to the terminal's encoding, while the
# program's own bytes are kept whole in console.log; then what argon-md-report found, and the
# paths of what it wrote, report.html first. With VERBOSE set in the environment, the whole
# console log and everything the report prints. A stage that fails shows all it printed.
#   cmake -DPROGRAM=<argon-md> -DREPORT=<argon-md-report> -DRUN_DIR=<dir> [-DSHOW_FROM=<dir>]
#         -P RunAndReport.cmake
# SHOW_FROM, where given, is the directory the paths on the terminal are shown from (the source
# tree, where the scripts are run); otherwise they are shown whole.

# Console lines before the first sample line: the cell edge, the placement's lines, the velocity
# line. Around the samples, this many are shown at each end.
set(shown_samples 5)

file(MAKE_DIRECTORY "${RUN_DIR}")
set(verbose FALSE)
if(DEFINED ENV{VERBOSE} AND NOT "$ENV{VERBOSE}" STREQUAL "" AND NOT "$ENV{VERBOSE}" STREQUAL "0")
  set(verbose TRUE)
endif()

# The terminal's encoding, from the locale; the C locale's ASCII cannot show the messages, and
# terminals that run in it nowadays take UTF-8.
execute_process(COMMAND locale charmap OUTPUT_VARIABLE charmap OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE status ERROR_QUIET)
if(NOT status EQUAL 0 OR charmap STREQUAL "" OR charmap MATCHES "^(ANSI_X3.4-1968|ASCII)$")
  set(charmap UTF-8)
endif()

set(shown_dir "${RUN_DIR}")
set(report_from "${RUN_DIR}")
if(DEFINED SHOW_FROM)
  file(RELATIVE_PATH shown_dir "${SHOW_FROM}" "${RUN_DIR}")
  set(report_from "${SHOW_FROM}")
endif()
set(ellipsis "...")
if(charmap STREQUAL "UTF-8")
  set(ellipsis "…")
endif()

# Prints each line of `lines` (a CMake list) indented by two spaces.
function(show_lines lines)
  foreach(line IN LISTS lines)
    message("  ${line}")
  endforeach()
endfunction()

# What a program said on standard error, always; and the end of the script when it failed.
function(end_stage errors status failure)
  string(REGEX REPLACE "\n$" "" errors "${errors}")
  if(NOT errors STREQUAL "")
    message("${errors}")
  endif()
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${failure}")
  endif()
endfunction()

message("running argon-md in ${shown_dir}")
execute_process(
  COMMAND "${PROGRAM}"
  WORKING_DIRECTORY "${RUN_DIR}"
  OUTPUT_FILE "${RUN_DIR}/console.log"
  ERROR_VARIABLE run_errors
  RESULT_VARIABLE run_status)
execute_process(
  COMMAND iconv -f CP932 -t ${charmap} "${RUN_DIR}/console.log"
  OUTPUT_VARIABLE console
  RESULT_VARIABLE iconv_status)
if(NOT iconv_status EQUAL 0)
  message(FATAL_ERROR "iconv could not convert ${RUN_DIR}/console.log from CP932 to ${charmap}")
endif()
# One list element per line; a ';' in a line would split it, and the log holds none.
string(REPLACE "\r\n" "\n" console "${console}")
string(REGEX REPLACE "\n$" "" console "${console}")
string(REPLACE "\n" ";" console "${console}")

list(LENGTH console lines)
set(first_sample -1)
set(samples 0)
set(index 0)
foreach(line IN LISTS console)
  if(line MATCHES "^[0-9]+step, ")
    if(first_sample EQUAL -1)
      set(first_sample ${index})
    endif()
    math(EXPR samples "${samples} + 1")
  endif()
  math(EXPR index "${index} + 1")
endforeach()
math(EXPR hidden "${samples} - 2 * ${shown_samples}")
if(verbose OR NOT run_status EQUAL 0 OR first_sample EQUAL -1 OR hidden LESS 2)
  show_lines("${console}")
else()
  math(EXPR head_end "${first_sample} + ${shown_samples} - 1")
  math(EXPR tail_start "${first_sample} + ${samples} - ${shown_samples}")
  math(EXPR last "${lines} - 1")
  foreach(i RANGE 0 ${head_end})
    list(GET console ${i} line)
    message("  ${line}")
  endforeach()
  message("  ${ellipsis} ${hidden} more samples (the whole log: ${shown_dir}/console.log) ${ellipsis}")
  foreach(i RANGE ${tail_start} ${last})
    list(GET console ${i} line)
    message("  ${line}")
  endforeach()
endif()
end_stage("${run_errors}" ${run_status}
          "argon-md ended with status ${run_status}; what it wrote is in ${shown_dir}")

message("reporting the run")
execute_process(
  COMMAND "${REPORT}" "${shown_dir}"
  WORKING_DIRECTORY "${report_from}"
  OUTPUT_VARIABLE report
  ERROR_VARIABLE report_errors
  RESULT_VARIABLE report_status)
# A line with ';' in it would be split as a list; the unit separator stands for it meanwhile.
string(ASCII 31 semicolon)
string(REGEX REPLACE "\n$" "" report "${report}")
string(REPLACE ";" "${semicolon}" report "${report}")
string(REPLACE "\n" ";" report "${report}")
set(written "")
foreach(line IN LISTS report)
  string(REPLACE "${semicolon}" ";" shown "${line}")
  if(line MATCHES "^wrote (.*)$" AND NOT verbose)
    # "wrote <path> (<detail>)": the name alone, once; all lie in the run's directory.
    string(REGEX REPLACE " \\([^)]*\\)$" "" path "${CMAKE_MATCH_1}")
    get_filename_component(name "${path}" NAME)
    list(APPEND written "${name}")
  else()
    message("  ${shown}")
  endif()
endforeach()
end_stage("${report_errors}" ${report_status} "argon-md-report ended with status ${report_status}")

# The outputs, each once, report.html first, then the run's own files, wrapped to the screen.
set(names "${written}")
if(names MATCHES "^report.html(;|$)")
  list(REMOVE_AT names 0)
  message("open ${shown_dir}/report.html in a browser; beside it:")
else()
  message("the outputs, in ${shown_dir}:")
endif()
list(APPEND names "and the run's own console.log (Shift-JIS)" position.dat energy.dat msd.dat)
set(row "")
foreach(name IN LISTS names)
  string(LENGTH "${row}, ${name}" width)
  if(row STREQUAL "")
    set(row "${name}")
  elseif(width GREATER 94)
    message("  ${row},")
    set(row "${name}")
  else()
    set(row "${row}, ${name}")
  endif()
endforeach()
message("  ${row}")
