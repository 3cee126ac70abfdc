#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless; then, unless
# PLOVIS_QUICK=1, runs the fuzz targets for a minute each and every test again
# under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
if [ "${PLOVIS_QUICK:-0}" != 1 ]; then
    scripts/fuzz.sh
    scripts/sanitize.sh
fi
