#!/usr/bin/env bash
# Installs what is missing, builds, runs every test headless and the tests
# that need a window manager under Xvfb; then, unless PLOVIS_QUICK=1, runs the
# fuzz targets for a minute each, every test again under the address and
# undefined-behaviour sanitizers, and the tests that drive the program's
# threads under the thread sanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
scripts/window-tests.sh
if [ "${PLOVIS_QUICK:-0}" != 1 ]; then
    scripts/fuzz.sh
    scripts/sanitize.sh
    scripts/tsan.sh
fi
