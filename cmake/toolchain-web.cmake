# WebAssembly with Debian's emscripten. The programs become gjinverse.js and
# gjsolve.js, which node runs as console programs on the real standard streams
# (NODERAWFS), with the WebAssembly inside the script (SINGLE_FILE).
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-sSINGLE_FILE=1 -sNODERAWFS=1 -sEXIT_RUNTIME=1")
# emscripten's optimizer, run at link time, finds Debian's acorn only in the
# folder of Debian's node modules.
set(GJ_NODE_MODULES /usr/share/nodejs CACHE PATH "Folder of the node modules that emscripten needs (acorn)")
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=${GJ_NODE_MODULES})
