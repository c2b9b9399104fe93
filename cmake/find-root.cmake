# Included by the toolchain files after they set CMAKE_FIND_ROOT_PATH: a cross
# build takes libraries, headers and packages from the target's own root, and
# programs (iconv, mandoc, groff) from this machine.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
