# The Debian package: `cpack -G DEB` in the build folder makes
# orvak-tamsel_<version>_amd64.deb, installing under /usr. Its dependencies
# are computed from the libraries the executables and components link
# (dpkg-shlibdeps), plus what the program loads without linking it: the SVG
# image plugin for the theme's pictures and the GStreamer plugins the player
# plays through.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvak-tamsel)
set(CPACK_PACKAGE_VENDOR Orvak)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvak Tamsel developers <tamsel@orvak.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Get videos onto your phone")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orvak Tamsel scans the PC for videos, keeps a My collection folder of copies
converted to a phone-friendly MP4 format (H.264 and AAC), copies videos to the
connected phone and back, downloads videos from tmk:// links and plays videos
in its own window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://videos.orvak.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-libav")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils, desktop-file-utils")
include(CPack)
