# 64-bit RISC-V Linux (RV64GC), cross-compiled with Debian's g++-riscv64-linux-gnu
# and run under qemu-user. The D extension has fused multiply-add, which the
# build never lets the compiler use.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(CMAKE_C_COMPILER riscv64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER riscv64-linux-gnu-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-riscv64 -L /usr/riscv64-linux-gnu)

set(CMAKE_FIND_ROOT_PATH /usr/riscv64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/find-root.cmake)
