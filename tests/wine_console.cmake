# Runs the Windows PROGRAM under wine (EMULATOR) in a tmux pane, a UTF-8
# terminal, with CASE.in as its input, twice:
# - piped in, with the pane as its console: every commentary line of CASE.out
#   must show on the pane as Hangul, and the run must end without asking for
#   Enter (a hung run fails through the test's timeout);
# - redirected to WORK.redirected, beside a console: the file must hold the
#   bytes of every transcript, CASE.out in ENCODING (by ICONV) with CR LF ends.
# TMUX_SOCKET names a tmux server of this test's own.
foreach(var PROGRAM CASE WORK EMULATOR ENCODING ICONV TMUX_SOCKET)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "wine_console.cmake needs -D${var}=...")
  endif()
endforeach()

set(tmux tmux -L ${TMUX_SOCKET} -f /dev/null -u)
list(JOIN EMULATOR " " emulator)
list(JOIN tmux " " tmux_line)
# The pane's script signals when both runs are over, then waits until its
# screen has been read, so that the pane is still there to read.
file(WRITE ${WORK}.sh "export LC_ALL=C.UTF-8
cat '${CASE}.in' | ${emulator} '${PROGRAM}'
${emulator} '${PROGRAM}' < '${CASE}.in' > '${WORK}.redirected'
${tmux_line} wait-for -S runs-over
${tmux_line} wait-for screen-read
")
set(ENV{LC_ALL} C.UTF-8)
execute_process(COMMAND ${tmux} kill-server OUTPUT_QUIET ERROR_QUIET)
execute_process(COMMAND ${tmux} new-session -d -x 200 -y 200 "sh ${WORK}.sh" COMMAND_ERROR_IS_FATAL ANY)
# The timeout only keeps a run that waits for a key from holding CI.
execute_process(COMMAND ${tmux} wait-for runs-over TIMEOUT 300 RESULT_VARIABLE hung)
if(hung)
  execute_process(COMMAND ${tmux} capture-pane -p -J -S - OUTPUT_VARIABLE screen)
  execute_process(COMMAND ${tmux} kill-server)
  message(FATAL_ERROR "the runs did not end (${hung}); on the console:\n${screen}")
endif()
execute_process(COMMAND ${tmux} capture-pane -p -J -S - OUTPUT_VARIABLE screen COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${tmux} kill-server)

set(failed "")
file(STRINGS ${CASE}.out lines ENCODING UTF-8 REGEX "[^\t -~]")
if(NOT lines)
  message(FATAL_ERROR "${CASE}.out has no commentary line outside ASCII")
endif()
foreach(line IN LISTS lines)
  string(FIND "${screen}" "${line}\n" at)
  if(at EQUAL -1)
    string(APPEND failed "the console does not show the line '${line}'\n")
  endif()
endforeach()
if(screen MATCHES "Press Enter")
  string(APPEND failed "the piped run asked for Enter\n")
endif()

execute_process(COMMAND ${ICONV} -f UTF-8 -t ${ENCODING} INPUT_FILE ${CASE}.out
                OUTPUT_VARIABLE expected COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" "\r\n" expected "${expected}")
file(WRITE ${WORK}.expected "${expected}")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}.redirected ${WORK}.expected
                RESULT_VARIABLE differs)
if(differs)
  string(APPEND failed "the redirected transcript ${WORK}.redirected differs from ${WORK}.expected\n")
endif()
if(failed)
  message(FATAL_ERROR "${failed}On the console:\n${screen}")
endif()
