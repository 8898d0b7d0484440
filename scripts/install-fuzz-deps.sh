#!/usr/bin/env bash
# Installs what the fuzz build needs on top of the plain build's packages: clang and libFuzzer.
set -euo pipefail
bash "$(dirname "$0")/install-deps.sh" clang libfuzzer-14-dev
