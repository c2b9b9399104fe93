# Read by cpack before it makes a cross build's package: writes the dependency
# that dpkg-shlibdeps would, from the programs themselves. They may need the C
# library alone; the dependency is libc6 at the highest GLIBC_ version among the
# symbols that they import (objdump -T). For amd64 this gives what
# dpkg-shlibdeps gives. Any other library stops the packaging, since its
# package would be missing from the dependency.
set(libc_version "")
foreach(program IN LISTS CPACK_GJ_PROGRAMS)
  execute_process(COMMAND ${CPACK_GJ_OBJDUMP} -p -T ${program} OUTPUT_VARIABLE dump
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "NEEDED +[^\n]+" needed "${dump}")
  foreach(library IN LISTS needed)
    if(NOT library MATCHES "^NEEDED +(libc\\.so\\.6|libm\\.so\\.6|ld-linux[-a-z0-9_.]*\\.so\\.[0-9]+)$")
      message(FATAL_ERROR "${program} needs a library beyond the C library: ${library}; "
                          "name its package in the dependency")
    endif()
  endforeach()
  string(REGEX MATCHALL "GLIBC_[0-9]+(\\.[0-9]+)+" versions "${dump}")
  foreach(version IN LISTS versions)
    string(REPLACE "GLIBC_" "" version ${version})
    if(version VERSION_GREATER libc_version)
      set(libc_version ${version})
    endif()
  endforeach()
endforeach()
if(NOT libc_version)
  message(FATAL_ERROR "No GLIBC_ symbol version found in ${CPACK_GJ_PROGRAMS}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= ${libc_version})")
