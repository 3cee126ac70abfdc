#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail
packages=(g++ make cmake ninja-build pkg-config qt6-base-dev libjpeg62-turbo-dev libpcre2-dev
          libgtest-dev fonts-ipafont-gothic fonts-ipafont-mincho xvfb xauth qt6-translations-l10n
          openbox xdotool xclip x11-utils x11-xserver-utils
          clang-14 libclang-rt-14-dev llvm-14)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run:"
  echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}"
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y --no-install-recommends "${missing[@]}"
