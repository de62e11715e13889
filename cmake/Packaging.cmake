# Where `cmake --install` puts the program and what the desktop needs to list it, and the Debian
# package scripts/package.sh makes of the same files.
include(GNUInstallDirs)

install(TARGETS brightpost RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/brightpost.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/tray.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME brightpost.svg)
install(FILES ${PROJECT_SOURCE_DIR}/resources/org.brightpost.Brightpost.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_PACKAGE_NAME brightpost)
set(CPACK_PACKAGE_VENDOR "The Brightpost developers")
set(CPACK_PACKAGE_CONTACT "The Brightpost developers <packages@brightpost.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sticky notes on your desktop")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://brightpost.org")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries come from the binary itself; the plugins Qt loads at run time do not show there:
# the X11 platform plugin is in libqt6gui6, the SVG image and icon plugins in libqt6svg6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-qpa-plugins")
# Reading aloud through the desktop's speech service is optional; the built-in voice is linked in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-speech-speechd-plugin, speech-dispatcher")
set(CPACK_STRIP_FILES ON)
include(CPack)
