# The web release: gauss-jordan-<version>-web.zip of the page folder, made with
# `cpack -G ZIP` in the web build. The console programs that node runs, for the
# tests, are not part of it.
function(gj_install_program program)
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/zip.cmake)
gj_release_zip(web)
