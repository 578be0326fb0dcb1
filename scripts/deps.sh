#!/usr/bin/env bash
# Installs the Debian 12 packages Quorvel builds and tests with (as root).
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libgtest-dev libgmock-dev libbenchmark-dev
  gpsbabel gdal-bin direwolf python3 fonts-dejavu-core xvfb socat clang libclang-rt-14-dev libx11-dev libxtst-dev ccache
  debhelper dpkg-dev lintian desktop-file-utils appstream man-db libxml2-utils systemd)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
