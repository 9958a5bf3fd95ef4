# 64-bit ARM Linux (GCC 12), run under qemu-aarch64. Its long double is IEEE quad precision, so the
# signal path takes the double-double emulation there, as on x86-64. Programs link dynamically
# against the cross sysroot; qemu finds the target's loader and libraries through -L.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(TOVREL_AARCH64_SYSROOT /usr/aarch64-linux-gnu CACHE PATH "Target libraries for qemu-aarch64")
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc-12)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++-12)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L ${TOVREL_AARCH64_SYSROOT})

# The target has fused multiply-add; contracting a*b+c would change the rounded results.
set(CMAKE_C_FLAGS_INIT -ffp-contract=off)
set(CMAKE_CXX_FLAGS_INIT -ffp-contract=off)

# Look for libraries and headers only among the target's, programs only on the build machine.
set(CMAKE_FIND_ROOT_PATH ${TOVREL_AARCH64_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
