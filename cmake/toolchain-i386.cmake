# 32-bit x86 Linux, cross-compiled with Debian's g++-i686-linux-gnu and run under
# qemu-user. Double arithmetic must run in SSE2 registers: the x87 unit keeps
# excess precision and would print other rounding residues.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(GJ_TRIPLET i686-linux-gnu)
set(GJ_QEMU qemu-i386)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
