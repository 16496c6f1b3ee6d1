#!/usr/bin/env bash
# Sets up, builds and runs every test (offscreen: no display needed), then
# builds and runs them again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
bash scripts/test-sanitizers.sh
