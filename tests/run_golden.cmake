# Runs PROGRAM with CASE.in on standard input and compares, byte for byte, its
# standard output with CASE.out, its standard error with CASE.err (empty when there
# is no such file) and its exit status with STATUS. What the run wrote is kept in
# WORK.out and WORK.err. With OUTPUT set, standard output goes there instead and
# only standard error and the status are compared. With ENCODING set to other than
# UTF-8, the expected standard output is CASE.out written in that encoding by
# the iconv program ICONV. With LIBC set, CASE.<LIBC>.out, where there is one,
# takes the place of CASE.out: C libraries may consume a malformed number
# differently, and the index says why such a case has one. EMULATOR, if set, is the command that runs PROGRAM.
# With CRLF set, the program must end its lines with CR LF, as a Windows program
# does: a line feed with no carriage return before it fails the case, and each CR
# before an LF is dropped before the comparison.
foreach(var PROGRAM CASE STATUS WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_golden.cmake needs -D${var}=...")
  endif()
endforeach()
if(NOT DEFINED OUTPUT)
  set(OUTPUT ${WORK}.out)
endif()

execute_process(COMMAND ${EMULATOR} ${PROGRAM} INPUT_FILE ${CASE}.in OUTPUT_FILE ${OUTPUT}
                ERROR_FILE ${WORK}.err RESULT_VARIABLE status)

set(failed "")
foreach(written IN ITEMS ${WORK}.out ${WORK}.err)
  if(CRLF AND EXISTS ${written})
    # Read as hexadecimal, a byte a token, since a text read drops the CRs: once
    # every CR LF pair is gone, an LF left over had no CR before it.
    file(READ ${written} hex HEX)
    string(REGEX REPLACE "(..)" "\\1 " bytes "${hex}")
    string(REPLACE "0d 0a " "" bytes "${bytes}")
    if(bytes MATCHES "(^| )0a ")
      string(APPEND failed "bare line feed, with no CR before it, in ${written}\n")
    endif()
    file(READ ${written} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    file(WRITE ${written} "${text}")
  endif()
endforeach()

if(NOT status STREQUAL STATUS)
  string(APPEND failed "exit status ${status}, expected ${STATUS}\n")
endif()
set(expected_err ${CASE}.err)
if(NOT EXISTS ${expected_err})
  set(expected_err ${WORK}.no-err)
  file(WRITE ${expected_err} "")
endif()
set(pairs ${WORK}.err ${expected_err})
if(OUTPUT STREQUAL "${WORK}.out")
  set(expected_out ${CASE}.out)
  if(LIBC AND EXISTS ${CASE}.${LIBC}.out)
    set(expected_out ${CASE}.${LIBC}.out)
  endif()
  if(DEFINED ENCODING AND NOT ENCODING STREQUAL "UTF-8")
    set(utf8_out ${expected_out})
    set(expected_out ${WORK}.expected)
    execute_process(COMMAND ${ICONV} -f UTF-8 -t ${ENCODING} INPUT_FILE ${utf8_out}
                    OUTPUT_FILE ${expected_out} RESULT_VARIABLE iconv_status)
    if(iconv_status)
      message(FATAL_ERROR "iconv could not write ${utf8_out} in ${ENCODING}")
    endif()
  endif()
  list(APPEND pairs ${WORK}.out ${expected_out})
endif()
while(pairs)
  list(POP_FRONT pairs actual expected)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${actual} ${expected}
                  RESULT_VARIABLE differs)
  if(differs)
    execute_process(COMMAND diff -u ${expected} ${actual} OUTPUT_VARIABLE diff)
    string(APPEND failed "${actual} differs from ${expected}:\n${diff}\n")
  endif()
endwhile()
if(failed)
  message(FATAL_ERROR "${failed}")
endif()
