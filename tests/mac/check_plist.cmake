# cmake -DSOURCE_DIR=... -DOUTPUT=... -DVERSION=... -P check_plist.cmake
# Renders the template as the Apple build does, then checks the keys a host and the loader read.
set(PROJECT_VERSION ${VERSION})
include(${SOURCE_DIR}/cmake/mac/BundlePlist.cmake)
tovrel_render_bundle_plist(${SOURCE_DIR}/cmake/mac/Info.plist.in ${OUTPUT})
file(READ ${OUTPUT} plist)

function(expect key value)
  if(NOT plist MATCHES "<key>${key}</key>[ \t\r\n]*<string>([^<]*)</string>")
    message(FATAL_ERROR "Info.plist has no ${key}")
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL value)
    message(FATAL_ERROR "Info.plist: ${key} is '${CMAKE_MATCH_1}', not '${value}'")
  endif()
endfunction()

expect(CFBundleIdentifier org.tovrel.vst.Tovrel)
expect(CFBundleExecutable Tovrel)
expect(CFBundlePackageType BNDL)
expect(CFBundleVersion ${VERSION})
if(plist MATCHES "@[A-Z_]+@")
  message(FATAL_ERROR "Info.plist keeps an unfilled placeholder: ${CMAKE_MATCH_0}")
endif()
message(STATUS "Info.plist: org.tovrel.vst.Tovrel, executable Tovrel, package type BNDL")
