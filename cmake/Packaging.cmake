# SPDX-License-Identifier: GPL-3.0-or-later
# A Debian package of whatever the build installs:
#   cpack --config build/package/CPackConfig.cmake -G DEB -B build/package
# Its dependencies are computed from the libraries the programs load.
set(CPACK_PACKAGE_NAME tilemora)
set(CPACK_PACKAGE_VENDOR "Tilemora")
set(CPACK_PACKAGE_CONTACT "Tilemora developers <tilemora@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "disk usage treemap viewer")
set(CPACK_PACKAGE_DESCRIPTION
  "Tilemora shows how the space of a folder or a disk is used, as a treemap:\n every file is a rectangle whose area is its size on disk, nested in its\n folder's rectangle. tilemora-scan reports and exports the same scan from a\n terminal.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TILEMORA_BUILD_NUMBER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The scan as administrator runs tilemora-scan through pkexec.
# Qt loads its display plugins at run time, which the computed list misses;
# Qt's own words (its dialogs' buttons, the file dialog) come in the user's
# language from Debian's Qt translations, without which a German window
# would ask "Cancel" and "Open".
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, pkexec")
# The map's text is measured with a Helvetica-metric font; Wayland sessions
# are served natively with Qt's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-urw-base35, qt6-wayland")
set(CPACK_GENERATOR DEB)
include(CPack)
