#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Orvanta need.
# Quick when they are all there already. Runs as root, or as a user with sudo.
# Packages named as arguments are installed as well (the benchmarks need a few more).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-webengine-dev libqt6webenginecore6-bin qt6-qpa-plugins libgl-dev libxcb1-dev qtkeychain-qt6-dev
  libjpeg62-turbo fonts-dejavu-core
  xvfb xauth xdotool imagemagick dbus-daemon gnome-keyring
  dpkg-dev desktop-file-utils appstream
  clang libclang-rt-14-dev
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
