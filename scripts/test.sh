#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs the whole
# test suite; then the same suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer (skip that with TOLLWATCH_SKIP_ASAN=1).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh ci
ctest --preset ci -j "$(nproc)" --timeout 300
if [ "${TOLLWATCH_SKIP_ASAN:-0}" != 1 ]; then
  bash scripts/build.sh asan
  ctest --preset asan -j "$(nproc)" --timeout 600
fi
