#!/usr/bin/env bash
# Installs the packages that building, running and testing Orvanta need, by the names of the
# release this machine runs (read from /etc/os-release). Quick when they are all there already.
# Runs as root, or as a user with sudo. Packages named as arguments are installed as well (the
# benchmarks need a few more).
#   --print-runtime   prints what the program needs to run (its Debian package's dependencies)
#   --print-suffix    prints what the Debian package's version says of the release (~deb13u1)
# On Debian 13 the web engine comes from trixie-backports (Qt WebEngine 6.10, a year of Chromium's
# security fixes newer than the release's 6.8.2, and updated there); ORVANTA_ENGINE=release keeps
# the release's own engine, for a machine that must not use backports.
set -euo pipefail

# shellcheck disable=SC1091
. /etc/os-release
release="${ID:-unknown} ${VERSION_ID:-}"
backports=""
case "$release" in
  "debian 13")
    jpeg=libjpeg62-turbo suffix="~deb${VERSION_ID}u1"
    [ "${ORVANTA_ENGINE:-backports}" = release ] || backports=trixie-backports ;;
  "debian 12")
    jpeg=libjpeg62-turbo suffix="~deb${VERSION_ID}u1" ;;
  "ubuntu 24.04")
    jpeg=libjpeg-turbo8 suffix="~ubuntu${VERSION_ID}.1" ;;
  *)
    echo "Orvanta's set-up knows Debian 13, Debian 12 and Ubuntu 24.04; this machine runs ${PRETTY_NAME:-an unknown system}." >&2
    echo "Install the packages named in tools/setup-debian.sh by this release's names, then run tools/build.sh." >&2
    exit 1 ;;
esac

# What the program needs at run time: the engine's helper process, the X11 and Wayland
# platform plugins, Qt's JPEG reader's library and a font. Its libraries come with the -dev
# packages below, and in the Debian package from dpkg-shlibdeps.
runtime=(libqt6webenginecore6-bin qt6-qpa-plugins qt6-wayland "$jpeg" fonts-dejavu-core)
# What building and testing need besides.
build=(
  cmake ninja-build g++ pkg-config file
  qt6-base-dev qt6-base-private-dev qt6-webengine-dev libgl-dev libxcb1-dev libxcb-dpms0-dev qtkeychain-qt6-dev libmosquitto-dev
  xvfb xauth x11-xserver-utils xdotool imagemagick dbus-daemon gnome-keyring weston mosquitto mosquitto-clients
  dpkg-dev desktop-file-utils appstream
  clang libclang-rt-dev
)
case "${1:-}" in
  --print-runtime) echo "${runtime[*]}"; exit 0 ;;
  --print-suffix) echo "$suffix"; exit 0 ;;
esac
# The engine and what its development files need of the same suite.
engine=(qt6-webengine-dev libqt6webenginecore6-bin libxkbcommon-dev)
packages=("${runtime[@]}" "${build[@]}" "$@")

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

if [ -n "$backports" ]; then
  # The engine of trixie-backports: its source is added in a file of its own where none is set
  # up, and the user's other sources are left as they are.
  if ! grep -rqs --include='*.list' --include='*.sources' "$backports" /etc/apt/sources.list /etc/apt/sources.list.d; then
    echo "Adding Debian's $backports to apt's sources (/etc/apt/sources.list.d/$backports.sources) for Qt WebEngine 6.10; ORVANTA_ENGINE=release keeps Debian 13's own 6.8.2."
    {
      echo "Types: deb"
      echo "URIs: http://deb.debian.org/debian"
      echo "Suites: $backports"
      echo "Components: main"
      [ -f /usr/share/keyrings/debian-archive-keyring.gpg ] && echo "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
    } | $sudo tee "/etc/apt/sources.list.d/$backports.sources" >/dev/null
    $sudo apt-get update
  fi
  # Installed from backports where the release's own is still there or nothing is.
  [ -n "$(apt-cache policy -t "$backports" "${engine[0]}" 2>/dev/null | sed -n 's/^ *Candidate: //p')" ] || $sudo apt-get update
  stale=()
  for package in "${engine[@]}"; do
    installed=$(dpkg-query -W -f='${Status} ${Version}' "$package" 2>/dev/null || true)
    candidate=$(apt-cache policy -t "$backports" "$package" 2>/dev/null | sed -n 's/^ *Candidate: //p')
    [ "$installed" = "install ok installed ${candidate}" ] || stale+=("$package")
  done
  if [ ${#stale[@]} -gt 0 ]; then
    echo "Installing Qt WebEngine from $backports: ${stale[*]}"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -t "$backports" "${stale[@]}"
  fi
elif [ "$release" = "debian 12" ]; then
  echo "Debian 12 has no newer Qt WebEngine than its own 6.4.2 (Chromium 102) anywhere in Debian: it is the engine used here."
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing for ${PRETTY_NAME}: ${missing[*]}"
$sudo apt-get update
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
