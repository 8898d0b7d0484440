#!/usr/bin/env bash
# Builds everything and runs the whole test suite; with --sanitize, the same suite built with
# AddressSanitizer and UndefinedBehaviorSanitizer in its own build folder (build-sanitize/).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
case "${1:-}" in
  "") ;;
  --sanitize) preset=sanitize ;;
  *) echo "usage: scripts/test.sh [--sanitize]" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
