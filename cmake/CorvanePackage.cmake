# The Debian package (scripts/package): what `cmake --install` puts under /usr, with the
# run-time dependencies computed by dpkg-shlibdeps from the programs' libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VERSION ${CORVANE_SOFTWARE_VERSION})
set(CPACK_PACKAGE_VENDOR "The Corvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for Corvane gaming mice")
set(CPACK_PACKAGE_DESCRIPTION
    "Corvane sets up Corvane gaming mice, wired or through their 2.4 GHz USB receiver: DPI
stages, report rate, sensor and power options, button functions, macros, lighting and
profiles. It ships a window (corvane), a command-line tool (corvane-cli) and a simulated
mouse for trying everything without the hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Corvane developers <feedback@corvane.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://corvane.example/")
# Qt's X11 platform plugin comes with libqt6gui6, which the window links, so the computed
# list is complete.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The UI fonts, and xdg-open for links and downloaded update packages.
# qt6-wayland: the window runs natively on a Wayland desktop (else through XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-open-sans, fonts-noto-cjk, xdg-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
