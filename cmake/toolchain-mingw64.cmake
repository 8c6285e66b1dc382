# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the POSIX thread
# model, which std::thread and std::mutex need). The C++ runtime, libgcc and
# winpthread are linked statically, so the executables run on a Windows
# machine (or under wine) without any mingw DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELMAR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMAR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMAR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMAR_MINGW_TRIPLE}-windres)

# Libraries and headers come from the target's sysroot (and from any
# prefix given in CMAKE_PREFIX_PATH, such as a cross-built GoogleTest);
# programs run during the build come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMAR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test executables are run through wine (for gtest_discover_tests and ctest).
find_program(VELMAR_WINE NAMES wine64 wine)
if(VELMAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMAR_WINE})
endif()
