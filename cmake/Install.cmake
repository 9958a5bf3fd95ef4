# Installation where VST hosts look: the plug-in into <prefix>/lib/vst (with the default prefix
# /usr/local, Ardour, Audacity and others find it without settings), the command into
# <prefix>/bin. TOVREL_USER_INSTALL puts the plug-in into ~/.vst instead, for this user only;
# it is then in one place only, as hosts that see two copies of one ID may reject both.
option(TOVREL_USER_INSTALL "Install the plug-in into ~/.vst rather than <prefix>/lib/vst" OFF)
if(TOVREL_USER_INSTALL)
  set(TOVREL_VST_DIR $ENV{HOME}/.vst)
else()
  set(TOVREL_VST_DIR lib/vst)
endif()

if(TARGET Tovrel)
  install(TARGETS Tovrel LIBRARY DESTINATION ${TOVREL_VST_DIR} BUNDLE DESTINATION ${TOVREL_VST_DIR})
endif()
if(TARGET tovrel)
  install(TARGETS tovrel RUNTIME DESTINATION bin)
endif()

# cpack -G DEB: tovrel_<version>_amd64.deb with /usr/lib/vst/Tovrel.so and /usr/bin/tovrel; its
# dependencies come from dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME tovrel)
set(CPACK_PACKAGE_VENDOR Tovrel)
set(CPACK_PACKAGE_CONTACT "Tovrel developers <tovrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "stereo EQ and saturation VST 2.4 plug-in, with a command-line host")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
