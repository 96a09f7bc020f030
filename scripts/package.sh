#!/usr/bin/env bash
# Builds the Debian package: an optimised build of the installed programs (preset "package",
# build/package), then `cpack -G DEB`. Prints the path of the .deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake --preset package
cmake --build --preset package --parallel 2
rm -f build/package/quorvane_*.deb
(cd build/package && cpack -G DEB) >&2
ls "$PWD"/build/package/quorvane_*.deb
