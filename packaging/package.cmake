# The Debian package: one .deb with both programs, their manual pages, the
# copyright file and the changelog. Build it with `cpack -G DEB` in a build folder.
set(GJ_PACKAGE gauss-jordan)
set(GJ_MAINTAINER "gauss-jordan maintainers <maintainers@users.noreply.c-seed-b9c3730c.example>"
    CACHE STRING "Maintainer named in the Debian package")
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${GJ_PACKAGE})

# Each program and its manual page, in the usual places.
function(gj_install_program program)
  install(TARGETS ${program})
  install(FILES ${program}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# The package's architecture, in Debian's names: a cross build's comes from its
# target processor, a native build asks dpkg.
set(gj_debian_architectures x86_64=amd64 aarch64=arm64 i686=i386 i586=i386 i486=i386 i386=i386
    riscv64=riscv64)
set(gj_debian_architecture "")
foreach(pair IN LISTS gj_debian_architectures)
  if(pair MATCHES "^${CMAKE_SYSTEM_PROCESSOR}=(.+)$")
    set(gj_debian_architecture ${CMAKE_MATCH_1})
  endif()
endforeach()
if(NOT gj_debian_architecture)
  if(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "No Debian architecture is known for the processor ${CMAKE_SYSTEM_PROCESSOR}")
  endif()
  execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE gj_debian_architecture
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()

# The package's build takes Debian's hardening flags, for its architecture, from
# dpkg-buildflags. They stay out of other builds: _FORTIFY_SOURCE warns without
# optimisation, which would break a -Werror Debug build.
option(GJ_DEBIAN_FLAGS "Build with Debian's hardening flags, as dpkg-buildflags gives them" OFF)
if(GJ_DEBIAN_FLAGS)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND env DEB_HOST_ARCH=${gj_debian_architecture}
                            DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get ${kind}
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE flags
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    if(kind STREQUAL "LDFLAGS")
      add_link_options(${flags})
    else()
      add_compile_options(${flags})
    endif()
  endforeach()
endif()

# The copyright file in Debian's machine-readable form, with the license text of
# LICENSE: each line indented by one blank, an empty line written " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "\n$" "" license "${license}")
string(REGEX REPLACE "\n" "\n " license " ${license}")
# Twice, since a match takes the newline that a following empty line begins with.
string(REGEX REPLACE "\n \n" "\n .\n" license "${license}")
string(REGEX REPLACE "\n \n" "\n .\n" license "${license}")
file(WRITE ${PROJECT_BINARY_DIR}/packaging/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${GJ_PACKAGE}

Files: *
Copyright: 2026 The gauss-jordan developers
License: Expat
${license}
")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog
        DESTINATION ${doc_dir})

# The arithmetic needs SSE2 on 32-bit x86 (see core/elimination.hpp).
set(gj_cpu_note "")
if(gj_debian_architecture STREQUAL "i386")
  set(gj_cpu_note " The programs need a CPU with SSE2\n(a Pentium 4, an Athlon 64 or later).")
endif()

set(CPACK_PACKAGE_NAME ${GJ_PACKAGE})
set(CPACK_PACKAGE_VENDOR "The gauss-jordan developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stage-by-stage Gauss-Jordan elimination at the terminal")
set(CPACK_PACKAGE_DESCRIPTION
"gjinverse reads a square matrix of order 1 to 10 and prints its inverse;
gjsolve reads a linear system of order 1 to 9 and prints its solution.
Both print the whole augmented matrix after every stage of the reduction
(row scaling, pivot choice, elimination below and above each pivot), each
printout followed by a one-line commentary in Korean, so that a student can
follow the method and check it by hand. The arithmetic is plain IEEE double,
and rounding residues are printed as they come.
.
This build writes the commentary in ${GJ_ENCODING}.${gj_cpu_note}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${GJ_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${gj_debian_architecture})
# dpkg-shlibdeps looks the C library up among the installed packages of the
# target architecture, which a cross toolchain's C library is not: a cross
# build writes its dependency from the programs instead (libc_depends.cmake).
if(CMAKE_CROSSCOMPILING)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/libc_depends.cmake)
  set(CPACK_GJ_OBJDUMP ${CMAKE_OBJDUMP})
  set(CPACK_GJ_PROGRAMS ${PROJECT_BINARY_DIR}/gjinverse ${PROJECT_BINARY_DIR}/gjsolve)
else()
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_GJ_OBJCOPY ${CMAKE_OBJCOPY})
# Debian compresses manual pages and the changelog; a plain `cmake --install`
# leaves them as they are. strip leaves the compiler's .comment section, which
# nothing reads.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/compress_docs.cmake
                            ${CMAKE_CURRENT_LIST_DIR}/strip_comment.cmake)
include(CPack)
