#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the project needs, skipping those
# already present. Uses sudo when not run as root.
# Usage: scripts/install-deps.sh [run|test|PACKAGE...]
#   run         what building and running the two programs need
#   test        that and what the test suite and the package check add (the default)
#   PACKAGE...  exactly these packages (the Windows job names its own)
set -euo pipefail

set_name=${1:-test}

# Compiler, build tools, Qt 6 with its X11 (xcb) and Wayland platform plugins,
# libmicrohttpd for the monitor's metrics endpoint and libsystemd for its
# service notifications; libical 3 for the editor's iCalendar files (with the
# time zones it writes); Qt's Linguist tools (lupdate, lrelease and their
# CMake functions) for the programs' translations, and Qt's own Swedish texts.
run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-wayland
  libmicrohttpd-dev libsystemd-dev libical-dev tzdata
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
)
# GoogleTest; Xvfb, a window manager (openbox), a tray (trayer), X tools,
# libSM for the test's session manager and weston for the desktop tests;
# desktop-file-utils, gio, groff and man for the desktop entries and manual
# pages; dpkg-dev for the package's library dependencies; Google Benchmark,
# Xlib, strace and python3 for the benchmarks; clang 14 with libFuzzer for the
# fuzz targets; openbox and python3-icalendar for the editor's end-to-end test,
# python3-holidays for the holiday import's test; acl and attr (setfacl,
# getfattr) for the file-safety tests; prometheus (with promtool) and
# prometheus-node-exporter for the metrics tests; lintian for the package
# check; systemd (systemd-analyze) for the service unit's test; at-spi2-core,
# python3-pyatspi and dbus for the editor's accessibility test; a notification
# daemon (dunst) on a D-Bus session bus of the test's own, and the Swedish
# locale, for the tray program's notifications and translations.
test_packages=(
  libgtest-dev libgmock-dev
  xvfb xauth openbox trayer xdotool x11-utils imagemagick fonts-dejavu-core python3-icalendar python3-holidays
  libsm-dev weston strace util-linux
  desktop-file-utils libglib2.0-bin groff-base man-db dpkg-dev
  libbenchmark-dev libx11-dev strace python3 clang-14 libclang-rt-14-dev
  acl attr
  prometheus prometheus-node-exporter lintian systemd
  at-spi2-core python3-pyatspi dbus
  dunst dbus-daemon locales
)

case "$set_name" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  -*) echo "usage: scripts/install-deps.sh [run|test|PACKAGE...]" >&2; exit 2 ;;
  *) packages=("$@") ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The tests and screenshots in Swedish run with LANG=sv_SE.UTF-8, which the C
# library knows only once the locale is generated.
if [ "$set_name" = test ] && ! locale -a 2>/dev/null | grep -qix 'sv_SE\.utf-\?8'; then
  echo "Generating the locale sv_SE.UTF-8"
  "${sudo[@]}" localedef -i sv_SE -f UTF-8 sv_SE.UTF-8
fi
