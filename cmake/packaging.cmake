# A Debian package of everything `cmake --install` puts in place: `make package`, or `cpack`
# in the build directory, writes realtopia_<version>_<arch>.deb there.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME realtopia)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Realtopia developers")
set(CPACK_PACKAGE_CONTACT "Realtopia developers <realtopia@example.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.example.com/realtopia/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "property trading game")
# Lines of at most 79 characters, as Debian's tools ask.
set(CPACK_PACKAGE_DESCRIPTION
    "Realtopia is a single-player property trading game. You start with 800,000\n"
    "pounds and trade 120 properties in London, France, Ireland, Switzerland,\n"
    "Scotland and New York from January 2000 to the end of 2009, reading the news\n"
    "ticker before the market moves. Damage houses before buying them, renovate\n"
    "them before selling them, mortgage them for cash, and climb from Developer to\n"
    "Magnate to Guru.\n"
    "\n"
    "The package holds the desktop program realtopia and the text front end\n"
    "realtopia-console, which plays the same game on standard input and output.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the windows ask for Arial, which fontconfig maps to
# Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# <name>_<version>_<arch>.deb, the architecture as dpkg names it.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
