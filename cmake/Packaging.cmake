# cpack -G DEB: one package, orvalis, whose library dependencies dpkg-shlibdeps finds from the
# libraries the programs load (Qt, and GDAL's libgdal once they read maps);
# scripts/check-package.sh checks that none is missing.
set(ORVALIS_PACKAGE_MAINTAINER "Orvalis maintainers <maintainers@users.noreply.c-seed-9a49ac9b.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvalis)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "landscape ecology: habitat window sampler and neutral landscape generator")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvalis cuts square windows whose habitat cover falls on whole-percentage
levels out of a landscape image (an uncompressed TGA in which dark pixels are
habitat), keeps their centres a minimum distance apart and writes each window
as a text grid, with a log of the windows and a batch list for FRAGSTATS. It
also draws landscape files and writes series of random and fractal (midpoint
displacement) neutral landscapes, and compares real windows with neutral
landscapes of the same habitat count, metric by metric, in tables and charts.
The same inputs and seed always give the same files.

The package holds the Qt window, orvalis, and the command-line program,
orvalis-cli, for scripts and clusters.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVALIS_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own buttons and file chooser in Portuguese, for the window's pt translation
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
# Qt Charts is under the GPL: so is Orvalis, version 3 or later. A Debian package states its
# licence in /usr/share/doc/PACKAGE/copyright, which points at the system's copy of the GPL.
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvalis)
include(CPack)
