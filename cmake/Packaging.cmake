# make package: a Debian package of what `cmake --install` installs, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavelin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tavelin developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "English-Armenian and Russian-Armenian dictionary")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tavelin developers <tavelin@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/tavelin/")
# The long description, below the summary (CPack indents its lines).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tavelin finds a word while you type it, in both directions, and shows it
with its translation. Add and delete your own word pairs; they are kept in
your own data folder. It hides in the notification area until Ctrl+F8
brings it back. Includes tavelin-dict, a command-line tool to import,
export and look up words.")
set(CPACK_STRIP_FILES ON)
# The shared libraries the programs link are found by dpkg-shlibdeps. What
# they load only at run time cannot be: Qt's X11 platform plugin, and the
# fonts that draw Armenian and Cyrillic letters.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, fonts-liberation2")
include(CPack)
