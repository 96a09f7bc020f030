#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Quorvane need.
# Fast when everything is already installed: it only asks dpkg.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git clang-format
  clang-14 libclang-rt-14-dev
  # The statistics window's charts: Debian's qt6-charts-dev needs Qt OpenGL's CMake files too.
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libqt6sql6-sqlite
  libjpeg62-turbo-dev libgtest-dev googletest
  libchm-dev fp-utils
  # The artwork generator draws the piece sets from DejaVu's and FreeSerif's chess glyphs;
  # the program itself draws its "Scalable" set from FreeSerif's while it runs.
  fonts-liberation fonts-dejavu-core fonts-freefont-ttf
  xvfb xauth
  desktop-file-utils appstream shared-mime-info man-db dpkg-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
