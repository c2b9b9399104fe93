# The web release: gauss-jordan-<version>-web.zip of the page folder, made with
# `cpack -G ZIP` in the web build. The console programs that node runs, for the
# tests, are not part of it.
function(gj_install_program program)
endfunction()

set(CPACK_PACKAGE_NAME gauss-jordan)
set(CPACK_PACKAGE_FILE_NAME gauss-jordan-${PROJECT_VERSION}-web)
set(CPACK_GENERATOR ZIP)
include(CPack)
