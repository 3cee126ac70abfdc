#!/usr/bin/env bash
# Configures build/ and builds the given targets (everything when none is
# given: the program, the tests and the benchmarks; the program is
# build/plovis). Ninja runs PLOVIS_JOBS compilations at once, by default one
# fewer than the cores this shell may use, so that the desktop stays usable.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${PLOVIS_JOBS:-$(( $(nproc) > 1 ? $(nproc) - 1 : 1 ))}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
ninja -C build -j "$jobs" "$@"
