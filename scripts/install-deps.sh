#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those that are missing), any further
# packages named as arguments (scripts/install-fuzz-deps.sh names the fuzz build's), and the
# glTF validator the tests run (npm, into tools/gltf-validate/node_modules).
set -euo pipefail
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libosmesa6-dev libpng-dev libgif-dev nlohmann-json3-dev libcli11-dev libassimp-dev
          libfreetype-dev fonts-dejavu-extra libtinyobjloader-dev libtinygltf-dev
          libglfw3-dev libimgui-dev xvfb xauth libxtst-dev "$@")
# npm (and node with it) only where neither is there already.
command -v npm >/dev/null 2>&1 || packages+=(npm)
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
validator="$(cd "$(dirname "$0")/../tools/gltf-validate" && pwd)"
if [ ! -d "$validator/node_modules/gltf-validator" ]; then
  echo "installing the glTF validator into $validator/node_modules"
  npm ci --prefix "$validator" --no-audit --no-fund --omit=dev --loglevel=error
fi
