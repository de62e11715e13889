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
# Scripts on the session bus: the interface's description, and the activation file that starts
# the program when a call comes for its name and none runs. The file names the binary by its
# full path, so it is written when installing, for the prefix of that install (the package's
# /usr, not the /usr/local the build was configured with).
install(FILES ${PROJECT_SOURCE_DIR}/resources/dbus/org.brightpost.Brightpost.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
install(CODE "
    set(BRIGHTPOST_INSTALLED_BINARY \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/brightpost\")
    configure_file(\"${PROJECT_SOURCE_DIR}/resources/dbus/org.brightpost.Brightpost.service.in\"
        \"${PROJECT_BINARY_DIR}/package/org.brightpost.Brightpost.service\" @ONLY)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/dbus-1/services\"
        TYPE FILE FILES \"${PROJECT_BINARY_DIR}/package/org.brightpost.Brightpost.service\")
")

# Made at build time from the program and the SVG, so they never go stale: the manual page from
# the program's own --help, PNG icons for menus, docks and themes that do not draw SVG, and the
# changelog of this version. The package is native (built from the sources it is versioned with,
# no Debian revision), so its changelog is changelog.gz rather than changelog.Debian.gz.
find_program(BRIGHTPOST_HELP2MAN help2man REQUIRED)
find_program(BRIGHTPOST_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(BRIGHTPOST_GZIP gzip REQUIRED)
set(package_files ${PROJECT_BINARY_DIR}/package)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/brightpost)

# The changelog entry and the manual page carry the date of the commit the build was configured
# from (or SOURCE_DATE_EPOCH), so the same sources make the same package.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(source_date "$ENV{SOURCE_DATE_EPOCH}")
else()
    execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
        OUTPUT_VARIABLE source_date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT source_date)
        # Sources without their history: the package is dated when it is configured.
        string(TIMESTAMP source_date "%s" UTC)
    endif()
endif()
if(NOT source_date MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH must be seconds since 1970, not \"${source_date}\"")
endif()
# string(TIMESTAMP) reads the date to format from SOURCE_DATE_EPOCH only.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    string(TIMESTAMP BRIGHTPOST_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
else()
    set(ENV{SOURCE_DATE_EPOCH} ${source_date})
    string(TIMESTAMP BRIGHTPOST_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
    unset(ENV{SOURCE_DATE_EPOCH})
endif()
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
    ${package_files}/changelog @ONLY)

set(man_page ${package_files}/brightpost.1)
add_custom_command(OUTPUT ${man_page}.gz
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${source_date} QT_QPA_PLATFORM=offscreen
        ${BRIGHTPOST_HELP2MAN} --no-info --section 1 --name "sticky notes on the desktop"
        --version-string ${PROJECT_VERSION} --output ${man_page}
        $<TARGET_FILE:brightpost>
    COMMAND ${BRIGHTPOST_GZIP} -9nf ${man_page}
    DEPENDS brightpost
    COMMENT "Writing the manual page from brightpost --help"
    VERBATIM)
add_custom_command(OUTPUT ${package_files}/changelog.gz
    COMMAND ${BRIGHTPOST_GZIP} -9nkf ${package_files}/changelog
    DEPENDS ${package_files}/changelog
    VERBATIM)
set(package_outputs ${man_page}.gz ${package_files}/changelog.gz)

set(app_icon ${PROJECT_SOURCE_DIR}/resources/icons/tray.svg)
foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
    set(icon_dir ${package_files}/icons/${size}x${size})
    add_custom_command(OUTPUT ${icon_dir}/brightpost.png
        COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
        COMMAND ${BRIGHTPOST_RSVG_CONVERT} --width ${size} --height ${size}
            --output ${icon_dir}/brightpost.png ${app_icon}
        DEPENDS ${app_icon}
        VERBATIM)
    list(APPEND package_outputs ${icon_dir}/brightpost.png)
    install(FILES ${icon_dir}/brightpost.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(brightpost_package_files ALL DEPENDS ${package_outputs})

install(FILES ${man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${package_files}/changelog.gz
    DESTINATION ${doc_dir})

set(CPACK_PACKAGE_NAME brightpost)
set(CPACK_PACKAGE_VENDOR "The Brightpost developers")
set(CPACK_PACKAGE_CONTACT "The Brightpost developers <packages@brightpost.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sticky notes on your desktop")
set(CPACK_PACKAGE_DESCRIPTION "Brightpost keeps notes on the desktop as small windows: rich text,
colours, alarms, a recycle bin, a notes manager and search. The notes are kept
in one database file with backups, and a database made on Windows can be
imported.")
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
