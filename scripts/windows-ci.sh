#!/usr/bin/env bash
# The Windows job of CI: cross-builds everything that needs no Qt for 64-bit
# Windows with mingw-w64 (the libraries, the console front end,
# velmar-profiles without its PNG commands, velmar-make-examples and every
# test suite that needs neither Qt nor POSIX process control), runs the test
# suites under wine, and then runs the programs under wine on a copy of the
# examples in a folder whose Windows path holds spaces and non-ASCII letters.
# Exits non-zero when anything fails.
# Usage: scripts/windows-ci.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

build=build/mingw
googletest=build/mingw-googletest

# Prints a stage's heading and how long the previous stage took.
stage() {
    [[ -z "${stage_name:-}" ]] || echo "-- $stage_name: $((SECONDS - stage_start)) s"
    stage_name="$1"
    stage_start=$SECONDS
    [[ -z "$1" ]] || echo "== $1"
}

stage "packages and a fresh wine prefix"
scripts/install-deps.sh cmake ninja-build ccache g++-mingw-w64-x86-64-posix wine wine64 googletest

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# wine: a fresh prefix, no debug output, no display. One persistent
# wineserver serves the whole job; it and the wine services it starts get
# no terminal or pipe of ours, so that nothing holds ctest's output open.
export WINEPREFIX="$root/build/mingw-wineprefix"
export WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
wineboot -i </dev/null >/dev/null 2>&1

stage "GoogleTest for mingw-w64 (Debian's googletest sources)"
version="$(dpkg-query -W -f='${Version}' googletest)"
if [[ "$(cat "$googletest/install/.version" 2>/dev/null)" != "$version" ]]; then
    rm -rf "$googletest"
    cmake -S /usr/src/googletest -B "$googletest/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$root/$googletest/install" \
        "${launcher[@]}" >/dev/null
    cmake --build "$googletest/build" -j 2 >/dev/null
    cmake --install "$googletest/build" >/dev/null
    echo "$version" >"$googletest/install/.version"
fi

stage "cross-build"
cmake --preset mingw -G Ninja "${launcher[@]}" >/dev/null
cmake --build --preset mingw

stage "tests under wine"
ctest --preset mingw

stage "the programs under wine"
fail() {
    echo "windows-ci: $*" >&2
    exit 1
}
bin="$root/$build"
profiles="$(find examples/Project/Profiles -name 'Profile_*.dat' | wc -l)"
unix_folder="$WINEPREFIX/drive_c/Lärm Åsa"
win_folder='C:\Lärm Åsa'
mkdir -p "$unix_folder/Project"
cp -R examples/Project/Profiles "$unix_folder/Project/"

# Runs a program under wine; standard output without carriage returns.
run() {
    wine "$@" </dev/null | tr -d '\r'
}

# velmar-profiles list: wine passes the argument as "/PATH:C:\Lärm Åsa\Project"
# in quotation marks, as a user of cmd.exe types it.
listing="$(run "$bin/tools/velmar-profiles/velmar-profiles.exe" list "/PATH:$win_folder\\Project")"
echo "$listing"
grep -Eq "^== [0-9]{2}:[0-9]{2}:[0-9]{2} $profiles profiles$" <<<"$listing" ||
    fail "list did not find the $profiles example profiles"
grep -qx '+ Åsa hemtjänst' <<<"$listing" || fail "list lost the non-ASCII names"

# The same typed into cmd.exe with the folder quoted, a backslash before the
# closing quotation mark and another switch behind it.
mkdir -p "$WINEPREFIX/drive_c/My Data/Project"
cp -R examples/Project/Profiles "$WINEPREFIX/drive_c/My Data/Project/"
cp "$bin/tools/velmar-profiles/velmar-profiles.exe" "$WINEPREFIX/drive_c/"
printf '@C:\\velmar-profiles.exe list /PATH:"C:\\My Data\\Project\\" /X\r\n' >"$WINEPREFIX/drive_c/list.bat"
listing="$(run cmd /c 'C:\list.bat')"
grep -Eq " $profiles profiles$" <<<"$listing" || fail "list /PATH:\"C:\\My Data\\Project\\\" did not find the profiles"

# The console front end: the first block, then Ctrl+C (wine turns SIGINT
# into it) ends the program cleanly with status 0.
status=0
block="$(timeout --preserve-status -s INT 5 wine "$bin/app/velmar-active-profiles.exe" \
    "/PATH:$win_folder\\Project" </dev/null | tr -d '\r')" || status=$?
echo "$block"
grep -Eq "^== [0-9:]{8} $profiles profiles$" <<<"$block" || fail "the console front end did not list the profiles"
[[ $status -eq 0 ]] || fail "the console front end ended with status $status on Ctrl+C"

# show: one file through the non-ASCII path; a missing file is explained.
run "$bin/tools/velmar-profiles/velmar-profiles.exe" show "$win_folder\\Project\\Profiles\\Profile_0001.dat" |
    grep -q '^format version: 4$' || fail "show could not read a profile through a non-ASCII path"
status=0
error="$(wine "$bin/tools/velmar-profiles/velmar-profiles.exe" show "$win_folder\\Profile_0404.dat" \
    </dev/null 2>&1 >/dev/null | tr -d '\r')" || status=$?
echo "$error"
[[ $status -eq 1 ]] || fail "show on a missing file ended with status $status"
grep -q 'Profile_0404.dat' <<<"$error" || fail "show on a missing file did not name it"
! grep -Eiq ': (success|no error)$' <<<"$error" || fail "show on a missing file gave no reason"

# velmar-make-examples writes through a non-ASCII path the very files the
# examples hold.
run "$bin/tools/make-examples/velmar-make-examples.exe" "$win_folder\\Made\\Profiles" >/dev/null
diff -r examples/Project/Profiles "$unix_folder/Made/Profiles" ||
    fail "velmar-make-examples wrote other files on Windows"

stage ""
echo "windows-ci: all passed in $SECONDS s"
