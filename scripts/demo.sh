#!/usr/bin/env bash
# Installs what the build needs, builds the program and the module (not the tests and
# benchmarks), and runs the demo into ./demo-out.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target quorvane biped
./build/quorvane demo "${1:-demo-out}"
