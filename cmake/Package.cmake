# Debian package by CPack:  cd build && cpack -G DEB
# The dependencies are computed by dpkg-shlibdeps from the installed ELF
# files, not listed by hand.
set(CPACK_PACKAGE_NAME "tavrel")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Tavrel developers")
set(CPACK_PACKAGE_CONTACT "Tavrel developers <tavrel@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "transmission-line calculator for microwave circuit design")
set(CPACK_PACKAGE_DESCRIPTION
  "Tavrel computes characteristic impedance, effective dielectric constant, loss,\n"
  "phase constant and electrical length of microstrip, stripline, coplanar\n"
  "waveguide (with and without ground plane), round coaxial line, slotline,\n"
  "coupled microstrip and coupled stripline, and synthesizes the strip width\n"
  "for a target impedance.  A desktop window and the command-line twin\n"
  "tavrel-calc (JSON output) share the same line models.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tavrel.github.io/")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # tavrel_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The coplanar library is loaded at run time (dlopen), so no executable
# names it as a needed library; should one ever link to it, dpkg-shlibdeps
# finds it in the build tree, where it is built.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CMAKE_BINARY_DIR}")

# Not a library dependency: the help button hands the page to xdg-open (through
# Qt) to show it in the desktop's browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

set(CPACK_GENERATOR "DEB")
include(CPack)
