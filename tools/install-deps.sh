#!/usr/bin/env bash
# Installs the Debian packages needed to build, run, test and package the
# game, when any of them is missing.  Safe to run again: it does nothing once
# all are in.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libmagick++-dev
  libsdl2-dev
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core
  xvfb xdotool x11-utils imagemagick python3
  desktop-file-utils appstream lintian dpkg-dev file
  clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
