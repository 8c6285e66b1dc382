#!/usr/bin/env bash
# The quick way to see the program: installs what building and running need,
# builds the two programs (preset "release", no test suite) and starts
# Velmar Active Profiles on the bundled example data folder: the tray program
# when a desktop session is present, the console front end otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
scripts/build.sh release
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Velmar Active Profiles runs until you press Ctrl+C here. Its icon is in the"
  echo "notification area (the system tray, usually at a corner of the screen): click"
  echo "it to open the list of profiles."
else
  echo "No desktop session: the console front end prints the profiles after every"
  echo "change. It runs until you press Ctrl+C."
fi
exec build/release/app/velmar-active-profiles "/PATH:$PWD/examples/Project" "$@"
