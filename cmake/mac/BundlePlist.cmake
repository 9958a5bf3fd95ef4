# Renders the bundle's Info.plist from its template; the Apple build and a test on any system
# call the same function.
set(TOVREL_BUNDLE_IDENTIFIER org.tovrel.vst.Tovrel)
set(TOVREL_BUNDLE_EXECUTABLE Tovrel)

function(tovrel_render_bundle_plist template output)
  configure_file(${template} ${output} @ONLY)
endfunction()
