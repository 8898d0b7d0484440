#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those that are missing).
set -euo pipefail
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libosmesa6-dev libpng-dev libgif-dev nlohmann-json3-dev libcli11-dev libassimp-dev
          libfreetype-dev fonts-dejavu-extra libtinyobjloader-dev
          libglfw3-dev libimgui-dev xvfb xauth libxtst-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
