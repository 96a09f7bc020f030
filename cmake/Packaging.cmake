# The Debian package: `cpack -G DEB` in a release build tree (scripts/package.sh does it all).
# dpkg-shlibdeps computes the libraries' packages; what is loaded at run time without being
# linked is named here: Qt's platform plugins (a window on X11 or Wayland) and the fonts that
# match the windows' designed faces.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
set(CPACK_PACKAGE_CONTACT "The Quorvane developers <quorvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chess tactics trainer")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvane opens a problem file, lists its problems and plays the chosen one on\n"
    "an on-screen board: the problem's script sets up the position, comments and\n"
    "hands over the board when it is the player's turn to find a move, which is\n"
    "judged, scored and timed.\n"
    "qvn, the command-line companion, lists, plays through and checks problem files\n"
    "without a display.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_HOMEPAGE_URL ${QV_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# FreeSerif: the board draws its "Scalable" piece set from the font's chess glyphs. The SQLite
# driver of Qt SQL is a plugin (the progress store), which shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite, fonts-freefont-ttf")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

include(CPack)
