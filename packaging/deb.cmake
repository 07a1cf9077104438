# The Debian package: `cpack -G DEB` in the build folder makes
# floorwatch_<version>_<arch>.deb from the installation under /usr.

set(FW_MAINTAINER "Floorwatch maintainers <maintainers@floorwatch.example>"
    CACHE STRING "Name and e-mail address of the Debian package's maintainer")

# Debian keeps the licence of every package in /usr/share/doc/<package>/copyright.
configure_file(copyright.in ${CMAKE_CURRENT_BINARY_DIR}/copyright @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/floorwatch)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME floorwatch)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Floorwatch authors")
set(CPACK_PACKAGE_CONTACT ${FW_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "document man-made radio noise against ITU-R P.372 levels")
# One text, lines as Debian shows them; cpack indents them for the control file.
set(CPACK_PACKAGE_DESCRIPTION [=[Floorwatch helps radio amateurs document the man-made radio noise at
their station. It draws the expected noise of Recommendation ITU-R P.372
for city, residential, rural and quiet rural surroundings and for galactic
noise, as field strength over 100 kHz to 300 MHz, and plots the station's
own measurements over it. Measurements are kept in a text file, the diagram
is saved as a picture, and a one-page A4 report is printed or sent by
e-mail. Readings can also come from a transceiver's S-meter through Hamlib,
and timed band sweeps are kept in a station log. The command-line program
floorwatch-cli does the same work in scripts.

Licence: GPL-3.0-or-later.]=])
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${FW_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' packages come from the programs' links; the fonts draw the diagram's text and
# xdg-utils opens the help documents, web pages and the mail program.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
