# Runs in CPack's staging folder before the package is made, after strip: takes
# the .comment section (the compilers' names and versions) out of the programs.
file(GLOB programs ${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*)
foreach(program IN LISTS programs)
  execute_process(COMMAND ${CPACK_GJ_OBJCOPY} --remove-section=.comment ${program}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objcopy could not remove .comment from ${program}")
  endif()
endforeach()
