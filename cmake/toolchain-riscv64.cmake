# 64-bit RISC-V Linux (RV64GC), cross-compiled with Debian's g++-riscv64-linux-gnu
# and run under qemu-user. The D extension has fused multiply-add, which the
# build never lets the compiler use.
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(GJ_TRIPLET riscv64-linux-gnu)
set(GJ_QEMU qemu-riscv64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
