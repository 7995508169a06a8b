#!/bin/sh
# Installs the Debian packages Bermline needs that are missing
# (apt-get as root, sudo otherwise).
set -e

PACKAGES="cmake ninja-build pkg-config g++ clang ccache libode-dev zlib1g-dev libpng-dev \
libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev xvfb xauth googletest libgtest-dev \
libbenchmark-dev libfreetype-dev fonts-dejavu-core xdotool x11-utils sox"

missing=""
for package in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $package"
  fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
else
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q || true
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
