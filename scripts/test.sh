#!/usr/bin/env bash
# Set up, build everything with AddressSanitizer and UndefinedBehaviorSanitizer, run every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
launcher=()
# ccache (when present) keys on paths relative to the checkout, so every clone shares its cache.
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DVIMORA_SANITIZE=ON -DVIMORA_TESTS=ON "${launcher[@]}"
cmake --build build/asan -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
cd build/asan
ctest --output-on-failure -j"$(nproc)" --timeout 600
