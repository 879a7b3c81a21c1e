#!/usr/bin/env bash
# Installs what is needed, builds Orvanta and starts it. With no display it runs under Xvfb,
# saves a screenshot of the window once the pages have settled, and runs until Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
bash tools/build.sh

if [ -n "${DISPLAY:-}" ]; then
  exec build/orvanta
fi

cleanup() { [ -n "${program:-}" ] && kill "$program" 2>/dev/null; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null; true; }
trap cleanup EXIT
source tools/xvfb.sh
start_xvfb 1280x800

build/orvanta &
program=$!
window=$(timeout 120 xdotool search --sync --onlyvisible --name '^Orvanta$' | head -n 1)
if [ -z "$window" ]; then
  echo "Orvanta's window did not appear within two minutes." >&2
  exit 1
fi

# The pages have loaded when two screenshots a second apart are the same (30 s at the most).
mkdir -p screenshots
shot=screenshots/orvanta.png
previous=""
for _ in $(seq 30); do
  sleep 1
  import -window "$window" "$shot"
  current=$(md5sum < "$shot")
  [ "$current" = "$previous" ] && break
  previous=$current
done
echo "Orvanta runs on display $DISPLAY. Screenshot of its window: $(pwd)/$shot"
echo "Press Ctrl+C to stop."
wait "$program"
