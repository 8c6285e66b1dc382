# The Debian package, built by CPack from the install rules:
#   cmake --preset release && cmake --build --preset release && cpack --preset release
# gives velmar-active-profiles_VERSION-REVISION_amd64.deb in build/release.
# The version is the project's (project(... VERSION ...)), the revision the
# package's own; dist/debian/changelog.in names both. The preset builds with
# dpkg-buildflags' hardening flags (cmake/DebianBuildFlags.cmake).
# scripts/package-test.sh runs lintian on the package.
set(CPACK_PACKAGE_NAME velmar-active-profiles)
set(CPACK_PACKAGE_VENDOR "Velmar")
# The project's own address, as its commits carry it.
set(CPACK_PACKAGE_CONTACT "Velmar Active Profiles maintainers <maintainers@users.noreply.c-seed-29704ffc.example>")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(VELMAR_DEBIAN_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
# The project has no web site of its own, so the package names no Homepage.
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
# The libraries the executables link come from dpkg-shlibdeps; what is loaded
# at run time is named here: Qt's platform plugins for X11 (xcb) and Wayland,
# and libmicrohttpd and libsystemd, which the monitor loads when it serves
# metrics or a service manager listens.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland")
if(VELMAR_WITH_MICROHTTPD)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libmicrohttpd12 | libmicrohttpd12t64")
endif()
if(VELMAR_WITH_SYSTEMD)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libsystemd0")
endif()

# What Debian wants beside the README in the package's documentation folder:
# the copyright in its machine-readable form and the package's changelog,
# compressed without name or time stamp.
if(UNIX AND NOT APPLE)
  include(GNUInstallDirs)
  set(velmar_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmar-active-profiles)
  configure_file(${PROJECT_SOURCE_DIR}/dist/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog.Debian @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
    COMMAND ${VELMAR_GZIP} -9nkf ${PROJECT_BINARY_DIR}/debian/changelog.Debian
    DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.Debian
    COMMENT "Compressing the package's changelog")
  add_custom_target(velmar_debian_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz)
  install(FILES ${PROJECT_SOURCE_DIR}/dist/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
          DESTINATION ${velmar_doc_dir})
  # The lintian tags the package carries on purpose, each with its reason:
  # the one place that lists them (scripts/package-test.sh fails on any other).
  install(FILES ${PROJECT_SOURCE_DIR}/dist/debian/lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME velmar-active-profiles)
endif()

include(CPack)
