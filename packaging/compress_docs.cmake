# Runs in CPack's staging folder before the package is made: compresses the
# manual pages and the changelog as Debian expects, with no name or time stamp in
# the gzip header so that the package is the same from build to build.
file(GLOB_RECURSE files ${CPACK_TEMPORARY_DIRECTORY}/*)
list(FILTER files INCLUDE REGEX "/man/man[1-9]/[^/]+\\.[1-9]$|/doc/[^/]+/changelog$")
foreach(file IN LISTS files)
  execute_process(COMMAND gzip -9 -n -f ${file} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip could not compress ${file}")
  endif()
endforeach()
