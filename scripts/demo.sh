#!/usr/bin/env bash
# Installs what the build needs, builds, and runs the demo into ./demo-out.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)"
./build/quorvane demo "${1:-demo-out}"
