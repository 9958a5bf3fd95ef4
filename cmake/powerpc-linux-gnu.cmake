# 32-bit big-endian PowerPC (GCC 12, IBM double-double long double), run under qemu-ppc.
# Programs link dynamically against the cross sysroot, so test programs can still dlopen the
# plug-in module like a host does; qemu finds the target's loader and libraries through -L.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR powerpc)

set(TOVREL_PPC_SYSROOT /usr/powerpc-linux-gnu CACHE PATH "Target libraries for qemu-ppc")
set(CMAKE_C_COMPILER powerpc-linux-gnu-gcc-12)
set(CMAKE_CXX_COMPILER powerpc-linux-gnu-g++-12)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-ppc -L ${TOVREL_PPC_SYSROOT})

# The target has fused multiply-add; contracting a*b+c would change the rounded results.
set(CMAKE_C_FLAGS_INIT -ffp-contract=off)
set(CMAKE_CXX_FLAGS_INIT -ffp-contract=off)

# Look for libraries and headers only among the target's, programs only on the build machine.
set(CMAKE_FIND_ROOT_PATH ${TOVREL_PPC_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
