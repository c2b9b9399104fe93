# Included by the toolchain file of each Linux cross build, after it sets
# CMAKE_SYSTEM_PROCESSOR, GJ_TRIPLET (Debian's name of the target, such as
# aarch64-linux-gnu) and GJ_QEMU (the qemu-user program for the target): the
# compilers are Debian's <triplet>-gcc and <triplet>-g++, the target's own root
# is /usr/<triplet>, and its programs run under qemu-user in that root.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${GJ_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${GJ_TRIPLET}-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR ${GJ_QEMU} -L /usr/${GJ_TRIPLET})

set(CMAKE_FIND_ROOT_PATH /usr/${GJ_TRIPLET})
include(${CMAKE_CURRENT_LIST_DIR}/find-root.cmake)
