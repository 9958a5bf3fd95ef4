# How the plug-in binary is linked on each platform. Every form exports the entry points and
# nothing of ours or of the C++ runtime beyond them (effect/exports.map, effect/exports.def).
function(tovrel_plugin_binary target)
  set(exports ${PROJECT_SOURCE_DIR}/effect)
  set_target_properties(${target} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY
                                                        ${CMAKE_BINARY_DIR})
  if(WIN32)
    # Tovrel.dll: everything linked in, so it imports only KERNEL32 and msvcrt; the .def file
    # adds main, the older entry name Windows hosts also look up.
    target_sources(${target} PRIVATE ${exports}/exports.def)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  elseif(APPLE)
    include(${PROJECT_SOURCE_DIR}/cmake/MacBundle.cmake)
    tovrel_mac_bundle(${target})
  else()
    set_target_properties(${target} PROPERTIES LINK_DEPENDS ${exports}/exports.map)
    target_link_options(${target} PRIVATE -Wl,--version-script=${exports}/exports.map)
    if(NOT TOVREL_SANITIZE AND NOT TOVREL_TSAN AND NOT TOVREL_FUZZ)
      # A host built against another C++ runtime must still load us: carry our own.
      target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc -Wl,--no-undefined)
    endif()
  endif()
endfunction()
