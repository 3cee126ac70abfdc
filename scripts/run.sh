#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with the given
# arguments (--frame-settings, or none).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
scripts/build.sh
exec build/plovis "$@"
