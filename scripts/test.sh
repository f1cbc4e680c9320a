#!/usr/bin/env bash
# Builds Brelix and runs the whole test suite, real office included.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"
