#!/usr/bin/env bash
# Sets up the machine, builds the debug configuration (with sanitizers) and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh

extra=()
if [ -n "${CI:-}" ]; then extra+=(-DQV_WERROR=ON); fi

cmake --preset debug "${extra[@]}"
cmake --build --preset debug
QT_QPA_PLATFORM=offscreen ctest --preset debug
