# A release zip, gauss-jordan-<version>-<suffix>.zip, made with `cpack -G ZIP`.
# Its entries are in the order of their names, whatever order the file system
# lists them in: CPack sorts them when it packs every component into one archive.
# Every file goes to the one component that install() gives by default, named
# here since CPack counts a single component as none; they lie in a folder named
# as the zip, as they do outside component mode.
macro(gj_release_zip suffix)
  set(CPACK_PACKAGE_NAME gauss-jordan)
  set(CPACK_PACKAGE_FILE_NAME gauss-jordan-${PROJECT_VERSION}-${suffix})
  set(CPACK_GENERATOR ZIP)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL Unspecified)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
  include(CPack)
endmacro()
