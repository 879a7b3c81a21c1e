#!/usr/bin/env bash
# Runs a test on a Wayland display of its own: Weston's headless backend on a private socket,
# with no X display to fall back to.
set -euo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
# Weston 12 renamed its backends; 10 (Debian 12) knows them by their modules' names.
major=$(weston --version | sed -n 's/^weston \([0-9]*\).*/\1/p')
backend=headless
[ "${major:-0}" -lt 12 ] && backend=headless-backend.so
XDG_RUNTIME_DIR=$runtime weston --backend="$backend" --socket=wayland-test --width=1280 --height=800 \
  --idle-time=0 --log="$runtime/weston.log" &
weston=$!
cleanup() { kill "$weston" 2>/dev/null; wait "$weston" 2>/dev/null; rm -rf "$runtime"; }
trap cleanup EXIT
for _ in $(seq 100); do
  [ -S "$runtime/wayland-test" ] && break
  kill -0 "$weston" 2>/dev/null || { cat "$runtime/weston.log" >&2; exit 1; }
  sleep 0.1
done
[ -S "$runtime/wayland-test" ] || { echo "Weston did not start" >&2; exit 1; }
unset DISPLAY
export WAYLAND_DISPLAY=$runtime/wayland-test XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=wayland
"$@"
