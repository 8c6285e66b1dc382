# The Debian package, built by CPack from the install rules:
#   cmake --preset release && cmake --build --preset release && cpack --preset release
# gives velmar-active-profiles_VERSION_amd64.deb in build/release.
# The version is the project's (project(... VERSION ...)).
set(CPACK_PACKAGE_NAME velmar-active-profiles)
set(CPACK_PACKAGE_VENDOR "Velmar")
set(CPACK_PACKAGE_CONTACT "Velmar Active Profiles maintainers <velmar-active-profiles@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Shows which Velmar alarm profiles are active, in the notification area")
set(CPACK_PACKAGE_DESCRIPTION [=[velmar-active-profiles sits in the notification area beside a Velmar alarm
server, lists every alarm profile of the server's data folder with a green or
red mark for active or inactive, and names the active ones in its icon's
tooltip. velmar-profiles prints the profiles and draws their schedules and
calendars; velmar-editor edits the schedules and holiday calendars in a window.]=])
# The executables only, stripped of their symbols.
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries the executables link come from dpkg-shlibdeps; Qt loads its
# platform plugins at run time, so those are named here: X11 (xcb) and Wayland.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland")

include(CPack)
