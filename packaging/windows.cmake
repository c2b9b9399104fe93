# The Windows release: gauss-jordan-<version>-win64.zip, made with `cpack -G ZIP`
# in the windows build. It holds both programs (static and stripped, so that they
# import nothing but KERNEL32 and the C runtime), the license, a short text on
# running them in cmd.exe, and the manual pages rendered as HTML.
find_program(GJ_MANDOC mandoc REQUIRED)

# The program at the top of the zip, and its manual page as <program>.html.
function(gj_install_program program)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${program}.html)
  add_custom_command(OUTPUT ${page}
    COMMAND ${GJ_MANDOC} -T html ${CMAKE_CURRENT_SOURCE_DIR}/${program}.1 > ${page}
    DEPENDS ${program}.1 COMMENT "Rendering the manual page of ${program} as HTML")
  add_custom_target(${program}_html ALL DEPENDS ${page})
  install(TARGETS ${program} DESTINATION .)
  install(FILES ${page} DESTINATION .)
endfunction()

# Text files for Windows users, with CR LF line ends so that every editor shows them.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/packaging/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows-readme.txt.in ${PROJECT_BINARY_DIR}/packaging/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/packaging/LICENSE.txt ${PROJECT_BINARY_DIR}/packaging/README.txt
        DESTINATION .)

set(CPACK_STRIP_FILES ON)
include(${CMAKE_CURRENT_LIST_DIR}/zip.cmake)
gj_release_zip(win64)
