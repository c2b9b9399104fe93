# Fails unless each of PROGRAMS imports only Windows system DLLs (KERNEL32 and the
# C runtime msvcrt) and nothing from MinGW, such as libstdc++-6.dll or
# libwinpthread-1.dll: the release's programs must run on a bare Windows.
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND ${OBJDUMP} -p ${program} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
  if(NOT imports)
    message(FATAL_ERROR "${program}: no imports found; is it a Windows program?")
  endif()
  foreach(import IN LISTS imports)
    if(NOT import MATCHES "^DLL Name: (KERNEL32|msvcrt)\\.dll$")
      message(FATAL_ERROR "${program} needs a DLL that Windows does not ship: ${import}")
    endif()
  endforeach()
endforeach()
