#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
# Usage: scripts/test.sh [PRESET]   (PRESET "default" or "asan")
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/install-deps.sh test
scripts/build.sh "$preset"
ctest --preset "$preset"
