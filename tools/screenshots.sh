#!/usr/bin/env bash
# Screenshots of every window under Xvfb, at scale 1 and with QT_SCALE_FACTOR=2: the main
# window in its six selector styles with 3 and with 25 sites, with Ctrl and with Alt held,
# in full screen, in 2x2 tiles, the overview, the welcome page of a first start, the setup dialog's three pages (and
# locked by an administrator), every page of the About box, a page with its permission bar,
# the find field and a download running at once, a settings file that can't be read, and ten
# sites in tiles with their overview; all of it on a screen of 1024x768 and of 1280x720.
# Usage: bash tools/screenshots.sh [output folder]   (build first: tools/build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-screenshots/all}")
mkdir -p "$out"
binary=$(realpath build/orvanta)
styles=(buttons flat-buttons tabs-top tabs-bottom tabs-left tabs-right)

# Writes a settings file for the program in $home: view mode, number of sites, extra lines.
configure() {
  local mode=$1 count=$2 extra=${3:-}
  local titles="" urls=""
  for i in $(seq "$count"); do
    echo "<h1>Site $i</h1><p>A page served from a file.</p>" > "$home/site$i.html"
    titles+="${titles:+,}\"Site $i\""
    urls+="${urls:+,}file://$home/site$i.html"
  done
  mkdir -p "$home/config/Quenbrook"
  printf '[Settings]\nViewMode=%s\n%s\n[Sites]\nTitles="%s"\nUrls="%s"\n' \
    "$mode" "$extra" "${titles//\"/\\\"}" "$urls" > "$home/config/Quenbrook/Orvanta.conf"
}

# Starts the program on $DISPLAY in $home and waits for its window.
start() {
  XDG_CONFIG_HOME=$home/config XDG_CONFIG_DIRS=$home/system XDG_RUNTIME_DIR=$home/runtime \
    XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache "$binary" 2>/dev/null &
  program=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Orvanta$' | head -n 1)
  sleep 2
}

stop() {
  [ -n "${program:-}" ] || return 0
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  program=""
}

shot() {
  import -window "${2:-root}" "$out/${prefix:-}$1.png"
  echo "$out/${prefix:-}$1.png"
}

# Types keys into a window (X has no window manager here to give it the focus).
keys() {
  local target=$1
  shift
  xdotool windowfocus "$target" 2>/dev/null
  xdotool key "$@"
}

# Menu, Setup (the second item on S), Sites.
open_setup() {
  keys "$window" alt+m
  sleep 0.5
  keys "$window" s s Right s
}

# The window named $1 once it is up.
window_named() {
  timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

run_scale() {
  local scale=$1
  export QT_SCALE_FACTOR=$scale
  for mode in 0 1 2 3 4 5; do
    for count in 3 25; do
      configure "$mode" "$count"
      start
      shot "x$scale-main-${mode}-${styles[$mode]}-$count" "$window"
      stop
    done
  done

  # The first start: no settings at all.
  rm -f "$home/config/Quenbrook/Orvanta.conf"
  start
  shot "x$scale-main-welcome" "$window"
  stop

  # Five sites in 2x2 tiles, the fourth picked by a click, and the overview of all five.
  configure 2 5 "Tiles=2x2"
  start
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove --window "$window" "$((WIDTH * 3 / 4))" "$((HEIGHT * 3 / 4))" click 1
  sleep 0.5; shot "x$scale-main-tiles-2x2" "$window"
  keys "$window" ctrl+shift+a; sleep 1.5; shot "x$scale-main-overview" "$window"
  stop

  configure 2 3
  start
  xdotool windowfocus "$window" 2>/dev/null
  xdotool keydown ctrl; sleep 0.5; shot "x$scale-main-ctrl-held" "$window"; xdotool keyup ctrl
  xdotool keydown alt; sleep 0.5; shot "x$scale-main-alt-held" "$window"; xdotool keyup alt
  open_setup
  setup=$(window_named Setup); sleep 0.5; shot "x$scale-setup-sites" "$setup"
  keys "$setup" ctrl+Tab; sleep 0.5; shot "x$scale-setup-display" "$setup"
  keys "$setup" ctrl+Tab; sleep 0.5; shot "x$scale-setup-remote" "$setup"
  keys "$setup" Escape; sleep 0.5
  keys "$window" alt+m i a
  about=$(window_named About); sleep 0.5; shot "x$scale-about" "$about"
  for word in author addresses update; do
    xdotool windowfocus "$about"; xdotool type --delay 50 "$word"; sleep 0.5
    shot "x$scale-about-$word" "$about"
    keys "$about" 1; sleep 0.3
  done
  keys "$about" Escape; sleep 0.5
  keys "$window" F11; sleep 1.5; shot "x$scale-main-full-screen"
  stop

  mkdir -p "$home/system/Quenbrook"
  printf '[Settings]\nLocked=true\n[Sites]\nLocked=true\nTitles="Managed"\nUrls="about:blank"\n[Mqtt]\nLocked=true\nBroker=mqtt://broker.lan\nName=lobby\n' \
    > "$home/system/Quenbrook/Orvanta.conf"
  start
  open_setup
  setup=$(window_named Setup); sleep 0.5; shot "x$scale-setup-sites-locked" "$setup"
  keys "$setup" ctrl+Tab; sleep 0.5; shot "x$scale-setup-display-locked" "$setup"
  keys "$setup" ctrl+Tab; sleep 0.5; shot "x$scale-setup-remote-locked" "$setup"
  keys "$setup" Escape; sleep 0.3
  stop
  rm -rf "$home/system"
}

# A page that asks to show notifications and then starts a download that never ends, served
# on 127.0.0.1: the permission bar, the find field and the download line together.
run_overlays() {
  local scale=$1 port
  export QT_SCALE_FACTOR=$scale
  port=$(python3 - <<'PY'
import socket
s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])
PY
)
  python3 - "$port" <<'PY' &
import http.server, sys, time
class Pages(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path == "/slow":
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Disposition", 'attachment; filename="dashboard-export.csv"')
            self.send_header("Content-Length", str(50 * 1024 * 1024))
            self.end_headers()
            self.wfile.write(b"x" * 300000)
            self.wfile.flush()
            time.sleep(3600)
            return
        page = (b"<html><head><title>Alerts</title></head><body><h1>Alerts</h1><p>Line 4 pressure normal.</p>"
                b"<script>Notification.requestPermission();setTimeout(() => location.href = '/slow', 1500);</script>"
                b"</body></html>")
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(page)))
        self.end_headers()
        self.wfile.write(page)
    def log_message(self, *args):
        pass
http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Pages).serve_forever()
PY
  server=$!
  mkdir -p "$home/config/Quenbrook"
  printf '[Sites]\nTitles=Alerts\nUrls=http://127.0.0.1:%s/\n' "$port" > "$home/config/Quenbrook/Orvanta.conf"
  printf 'XDG_DOWNLOAD_DIR="%s/downloads"\n' "$home" > "$home/config/user-dirs.dirs"
  start
  sleep 3
  keys "$window" ctrl+f
  xdotool type --delay 50 "pressure"; sleep 0.5
  shot "x$scale-overlays-permission-find-download" "$window"
  stop
  kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true
}

home=$(mktemp -d)
program=""
cleanup() { stop; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null; rm -rf "$home"; }
trap cleanup EXIT
mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
source tools/xvfb.sh
for size in 1024x768 1280x720; do
  start_xvfb "$size"
  prefix="$size-"
  for scale in 1 2; do
    run_scale "$scale"
    run_overlays "$scale"
    # A settings file that can't be read: the notice over the welcome page, on a bare X session.
    export QT_SCALE_FACTOR=$scale
    mkdir -p "$home/config/Quenbrook"
    printf '[Sites\nTitles=broken' > "$home/config/Quenbrook/Orvanta.conf"
    start
    shot "x$scale-damaged-settings-notice" root
    stop
    rm -f "$home/config/Quenbrook/"Orvanta.conf*
    # Ten sites in 2x2 tiles and their overview.
    configure 2 10 "Tiles=2x2"
    start
    keys "$window" ctrl+shift+a; sleep 1.5; shot "x$scale-overview-ten-in-tiles" "$window"
    stop
  done
  kill "$xvfb" 2>/dev/null
done
