# The flags Debian builds its packages with, as dpkg-buildflags gives them
# with every hardening feature on (fortified functions, stack protector,
# read-only relocations, immediate binding), and a strip that also drops the
# .comment and .note sections, as dh_strip does. On for the package's build
# (preset "release"): -DVELMAR_DEBIAN_BUILD_FLAGS=ON.
option(VELMAR_DEBIAN_BUILD_FLAGS "Build with dpkg-buildflags' flags (hardening=+all) and strip as Debian does" OFF)
if(NOT VELMAR_DEBIAN_BUILD_FLAGS)
  return()
endif()

find_program(VELMAR_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
# Each flag set is read once and kept; a changed environment needs a fresh
# build folder, as with any compiler flag.
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${VELMAR_DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE velmar_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endforeach()
# dpkg-buildflags' -O2 -g come first; the build type's own flags follow them.
string(APPEND CMAKE_CXX_FLAGS " ${velmar_CPPFLAGS} ${velmar_CXXFLAGS}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${velmar_LDFLAGS}")
string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${velmar_LDFLAGS}")
message(STATUS "Debian build flags: ${velmar_CPPFLAGS} ${velmar_CXXFLAGS} | ${velmar_LDFLAGS}")

# cmake --install --strip and CPack call CMAKE_STRIP with the file alone.
if(CMAKE_STRIP AND NOT WIN32)
  set(VELMAR_SYSTEM_STRIP ${CMAKE_STRIP})
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian-strip.sh.in ${PROJECT_BINARY_DIR}/debian-strip @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_STRIP ${PROJECT_BINARY_DIR}/debian-strip)
endif()
