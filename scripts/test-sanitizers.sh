#!/usr/bin/env bash
# Builds the program and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs the tests there.
# Expects the machine set up (scripts/test.sh runs scripts/build.sh first).
set -euo pipefail
cd "$(dirname "$0")/.."

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
# -O1 keeps the build and the run quick while ASan still sees every access.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="-O1 -fno-omit-frame-pointer $sanitizers" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null

# LeakSanitizer is off: Qt's platform plugin, fonts and caches keep memory
# until the process ends, which it would report as leaks in every test.
export ASAN_OPTIONS="detect_leaks=0:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake --build build-asan -j"$(nproc)"
cd build-asan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
