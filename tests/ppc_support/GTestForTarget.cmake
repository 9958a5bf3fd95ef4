# GoogleTest for a cross target (PowerPC, 64-bit ARM, Windows), built from the sources Debian
# ships, under the same target names that find_package(GTest) gives on the build machine. On
# PowerPC every program linked with it also gets the FPSCR-move trap, which the target's glibc
# needs under qemu.
set(TOVREL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the target")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${TOVREL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Consumers take the trap's object file as a source of their own, so the linker keeps it.
if(TOVREL_PPC_TARGET)
  target_sources(gtest INTERFACE $<TARGET_OBJECTS:tovrel_fpscr_trap>)
endif()
foreach(name gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${name})
    add_library(GTest::${name} ALIAS ${name})
  endif()
endforeach()
# Listing a program's tests under qemu can take longer than the usual five seconds.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_TIMEOUT 60)

# The older spellings that find_package(GTest) also provides.
if(NOT TARGET GTest::GTest)
  add_library(GTest::GTest ALIAS gtest)
  add_library(GTest::Main ALIAS gtest_main)
endif()
