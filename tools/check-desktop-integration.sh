#!/usr/bin/env bash
# Checks the desktop integration from a built tree (default build/):
#  1. `cmake --install` into a temporary prefix: the launcher and the AppStream record
#     validate, the icons are there, and the installed program starts (offscreen) and ends
#     cleanly when asked to.
#  2. The Debian package: built with CPack, installed with apt-get, started under Xvfb, removed.
set -euo pipefail
build=$(realpath "${1:-build}" 2>/dev/null || true)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo -n"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

# Starts a program with folders of its own, waits for it to run, asks it to end, and checks
# that it ended with code 0.
run_and_close() {
  local program=$1 home=$work/home-$RANDOM
  mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
  XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
    XDG_RUNTIME_DIR=$home/runtime QTWEBENGINE_DISABLE_SANDBOX=1 "$program" 2>/dev/null &
  local pid=$!
  for _ in $(seq 300); do
    compgen -G "$home/runtime/Orvanta-*.socket" >/dev/null && break
    kill -0 "$pid" 2>/dev/null || fail "$program ended before its window opened"
    sleep 0.1
  done
  compgen -G "$home/runtime/Orvanta-*.socket" >/dev/null || fail "$program did not start"
  sleep 1
  kill -TERM "$pid"
  wait "$pid" || fail "$program ended with code $?"
  [ -s "$home/config/Quenbrook/Orvanta.conf" ] || fail "$program wrote no settings"
}

# Under Xvfb the script runs itself again to start the installed program there.
if [ "${1:-}" = "--run-and-close" ]; then
  run_and_close "$2"
  exit 0
fi

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
desktop-file-validate "$prefix/share/applications/com.quenbrook.Orvanta.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/com.quenbrook.Orvanta.metainfo.xml"
for size in 16 32 48 64 128 256; do
  [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/com.quenbrook.Orvanta.png" ] || fail "no ${size}px icon"
done
QT_QPA_PLATFORM=offscreen run_and_close "$prefix/bin/orvanta"
echo "installed tree: launcher, metainfo and icons valid; the program starts and ends cleanly"

(cd "$build" && cpack >/dev/null)
package=$(ls "$build"/orvanta_*.deb)
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y "$package" >/dev/null
[ -x /usr/bin/orvanta ] || fail "the package installed no program"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --run-and-close /usr/bin/orvanta
$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y orvanta >/dev/null
[ ! -e /usr/bin/orvanta ] || fail "the program is still there after removal"
echo "package $(basename "$package"): installs, starts under Xvfb and is removed cleanly"
