# `make package`: a Debian package of everything `cmake --install` puts in
# place, installed under /usr.
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VERSION ${KORVANE_VERSION_STRING})
set(CPACK_PACKAGE_VENDOR "Korvane")
set(CPACK_PACKAGE_CONTACT "Korvane maintainers <korvane@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "pressure-vessel class calculator for TSG R0004-2009")
# One line per line of the control file's long description.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Korvane decides how the Chinese pressure-vessel regulation TSG R0004-2009"
    "classes a vessel: from its design pressure, volume, working pressure and"
    "medium it tells whether the vessel lies outside the regulated classes or"
    "is a class I, II or III vessel. Two pages show clauses 1.4 and 1.5 of the"
    "regulation. The user interface is in Simplified Chinese.")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries come from dpkg-shlibdeps, which reads what the executable
# links. Three things are loaded at run time and named by no library, so they
# are added by hand: the Song-style face; qt6-qpa-plugins, Qt's further
# platform plugins, which libqt6gui6 only recommends (on Debian 12 the xcb
# plugin, the one an X11 desktop uses, is in libqt6gui6 itself); and Qt's
# Chinese catalogue for its own texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-gbsn00lp, qt6-qpa-plugins, qt6-translations-l10n")

# The time stamps of the package's files: the commit's (cmake/CPackSourceDate.cmake).
set(CPACK_KORVANE_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackSourceDate.cmake)

include(CPack)
