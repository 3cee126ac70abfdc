#!/usr/bin/env bash
# Installs what is missing, builds the program (not the tests or the
# benchmarks, which scripts/test.sh builds) and starts it with the given
# arguments (--frame-settings, or none).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
scripts/build.sh plovis
exec build/plovis "$@"
