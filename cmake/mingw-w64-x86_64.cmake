# 64-bit Windows with Debian's mingw-w64 (posix thread model), run under wine. The compilers are
# called by their -posix names: the metapackage installs the win32 variant beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOVREL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOVREL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOVREL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOVREL_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${TOVREL_MINGW_PREFIX}-objdump CACHE FILEPATH "Reads the DLL's tables")

# Test programs run under wine; scripts/windows-check provides the prefix and the server.
find_program(TOVREL_WINE NAMES wine wine64)
if(TOVREL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TOVREL_WINE})
endif()

# Contracting a*b+c would change rounded results against the other builds.
set(CMAKE_C_FLAGS_INIT -ffp-contract=off)
set(CMAKE_CXX_FLAGS_INIT -ffp-contract=off)

# Programs carry their C++ runtime, so wine needs no mingw DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_FIND_ROOT_PATH /usr/${TOVREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
