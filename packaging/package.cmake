# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack` in a build folder writes halvex_<version>_<arch>.deb from that
# folder's install, with the library dependencies computed by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halvex)
set(CPACK_PACKAGE_VENDOR "The Halvex developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for the RQ870 handheld radio")
# Lines within 80 columns, as dpkg and the package managers show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Reads the configuration memory of an RQ870 handheld two-way radio\n\
through its programming cable, edits its channels, optional functions,\n\
VFOs and FM presets, keeps them in .pgm files, prints channel lists and\n\
writes them back. Includes a command-line tool and a virtual radio for\n\
trying it without a cable.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${HALVEX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${HALVEX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins at run time, so no library dependency names them, and
# libqt6gui6 only recommends qt6-qpa-plugins: named here, an install without recommended
# packages gets them too. (Debian 12 ships the xcb plugin itself inside libqt6gui6.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# Qt's own dialogs (file, print, standard buttons) in the language the user chose.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
