# Linux on 64-bit ARM, cross-compiled with Debian's g++-aarch64-linux-gnu and run
# under qemu-user. Every 64-bit ARM CPU has fused multiply-add, which the build
# never lets the compiler use. The code is tuned for a Neoverse N1 but keeps to
# the ARMv8.0 instructions, so that the arm64 package runs on a Raspberry Pi 3 or 4.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_CXX_FLAGS_INIT "-march=armv8-a -mtune=neoverse-n1")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)

set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/find-root.cmake)
