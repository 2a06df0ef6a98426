# How `cpack` turns the install tree into a Debian package: name, description and run-time dependencies.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kazoomba)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kazoomba developers")
set(CPACK_PACKAGE_CONTACT "Kazoomba <noreply@kazoomba.github.io>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video slot machine played for play money")
set(CPACK_PACKAGE_DESCRIPTION [[Kazoomba is a video slot machine with the look and rules of a mid-1990s
desktop slot game: nine spinning wheels in a three by three window, eight
pay lines, lit seven-segment displays, a wild FULMINA, SMILE bonus spins,
a bonus pool, Take or Double on the fifteen-box Vaz Ivero board, auto spin,
statistics and ten saved games. The money is play money.

The package also holds kazoomba-par, which computes exactly what the
machine pays back for every wager and checks it with a simulation.]])
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The revision is that of the newest entry of packaging/changelog.Debian.
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KAZOOMBA_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the Qt, Qt SVG and SDL2 libraries the programs link; what it cannot see is
# the font every window is laid out in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(KAZOOMBA_WITH_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
  # Without Qt's Wayland platform, a Wayland desktop runs the game through X11 and says so.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
endif()

# The source package (the package_source target): the sources without build trees or the repository.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES [[/\.git/]] [[/build/]])
