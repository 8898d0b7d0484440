#!/usr/bin/env bash
# Installs what the fuzz build needs on top of scripts/install-deps.sh: clang and libFuzzer.
set -euo pipefail
bash "$(dirname "$0")/install-deps.sh"
packages=(clang libfuzzer-14-dev)
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
