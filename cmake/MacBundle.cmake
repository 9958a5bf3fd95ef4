# A macOS VST 2.4 plug-in is a bundle: Tovrel.vst/Contents/{Info.plist, PkgInfo, MacOS/Tovrel}.
# Untested here: no Mac takes part in this project's CI.
include(${CMAKE_CURRENT_LIST_DIR}/mac/BundlePlist.cmake)

function(tovrel_mac_bundle target)
  set(plist ${CMAKE_CURRENT_BINARY_DIR}/Info.plist)
  tovrel_render_bundle_plist(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/mac/Info.plist.in ${plist})
  set(pkginfo ${CMAKE_CURRENT_BINARY_DIR}/PkgInfo)
  file(WRITE ${pkginfo} "BNDL????")
  set_source_files_properties(${pkginfo} PROPERTIES MACOSX_PACKAGE_LOCATION .)
  target_sources(${target} PRIVATE ${pkginfo})
  set_target_properties(${target} PROPERTIES
    BUNDLE TRUE
    BUNDLE_EXTENSION vst
    OUTPUT_NAME ${TOVREL_BUNDLE_EXECUTABLE}
    MACOSX_BUNDLE_INFO_PLIST ${plist})
  # Only the entry points leave the bundle.
  target_link_options(${target} PRIVATE -Wl,-exported_symbol,_VSTPluginMain
                                        -Wl,-exported_symbol,_main_macho)
endfunction()
