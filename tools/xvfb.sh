# Sourced by the scripts that need a display: start_xvfb WIDTHxHEIGHT starts Xvfb on a free
# display, exports DISPLAY and leaves the server's process id in $xvfb.
start_xvfb() {
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 4 -screen 0 "$1x24" -nolisten tcp 4>"$display_file" &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$display_file")"
  rm -f "$display_file"
}
