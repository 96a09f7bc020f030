#!/usr/bin/env bash
# Sets up the machine, builds the release configuration and starts the trainer on the bundled samples.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake --preset release
cmake --build --preset release --target quorvane
exec build/release/bin/quorvane "$PWD/samples/first-steps.qvn" "$@"
