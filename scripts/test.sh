#!/usr/bin/env bash
# Sets up the machine, builds the debug configuration (with sanitizers) and runs the whole test
# suite, then the thread tests under ThreadSanitizer and each fuzz target for a short burst.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh

extra=()
if [ -n "${CI:-}" ]; then extra+=(-DQV_WERROR=ON); fi

cmake --preset debug "${extra[@]}"
cmake --build --preset debug
QT_QPA_PLATFORM=offscreen ctest --preset debug

# The search thread and the board's engine interface under ThreadSanitizer.
cmake --preset tsan "${extra[@]}"
cmake --build --preset tsan
ctest --preset tsan

# Every fuzz target for 30 s from its seed corpus (QV_FUZZ_SECONDS changes the burst).
tests/fuzz/run-fuzzers.sh "${QV_FUZZ_SECONDS:-30}"
