# Debian package: `cpack --config build/dev/CPackConfig.cmake` after a build writes
# sumatko2001_<version>_<arch>.deb. The Windows build makes the portable zip instead
# (`cpack --preset windows`), sumatko2001-<version>-win64.zip.
set(CPACK_PACKAGE_NAME sumatko2001)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Sumatko 2001 developers")
# No address is given: the project has none to publish yet, and an invented one would mislead.
set(CPACK_PACKAGE_CONTACT "The Sumatko 2001 developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arithmetic drill for primary-school pupils")
set(CPACK_PACKAGE_DESCRIPTION
  "Sumatko 2001 poses random sums to work out against the clock: addition,\n\
subtraction, multiplication and division within the number ranges a teacher\n\
or a parent chooses. Every answer is then marked and the exercise gets a\n\
school grade from 1 (best) to 5. The program is in Czech.")

if(SUMATKO_WIN32)
  # The exe and its licence at the top of the zip: unpacked on a USB stick or a share, it runs.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  include(CPack)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the fonts the window is laid out in,
# Qt's own Czech texts for its standard widgets and the platform plugins that open a window.
# The linked Qt libraries come from dpkg-shlibdeps, with their versions.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n, qt6-qpa-plugins")

include(CPack)
