# Linux on 64-bit ARM, cross-compiled with Debian's g++-aarch64-linux-gnu and run
# under qemu-user. Every 64-bit ARM CPU has fused multiply-add, which the build
# never lets the compiler use. The code is tuned for a Neoverse N1 but keeps to
# the ARMv8.0 instructions, so that the arm64 package runs on a Raspberry Pi 3 or 4.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_CXX_FLAGS_INIT "-march=armv8-a -mtune=neoverse-n1")
set(GJ_TRIPLET aarch64-linux-gnu)
set(GJ_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
