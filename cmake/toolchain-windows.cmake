# x86-64 Windows, cross-compiled with Debian's mingw-w64 and run under wine in a
# prefix of the build folder's own. The programs are linked statically, so that
# they need no MinGW DLL beside them, and carry no link time, so that two builds
# of the same sources give the same bytes.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
# setarch -R: with the address space laid out at random, about one wine start
# in two thousand fails to map Windows' shared user data and runs nothing.
set(CMAKE_CROSSCOMPILING_EMULATOR setarch -R env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml= wine)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/find-root.cmake)
