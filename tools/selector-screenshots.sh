#!/usr/bin/env bash
# Screenshots of the page selector in its six styles, three sites each, under Xvfb.
# Usage: bash tools/selector-screenshots.sh [output folder]   (build first: tools/build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-screenshots/selector}
mkdir -p "$out"
names=(buttons flat-buttons tabs-top tabs-bottom tabs-left tabs-right)
for mode in 0 1 2 3 4 5; do
  home=$(mktemp -d)
  mkdir -p "$home/config/Quenbrook" "$home/runtime" && chmod 700 "$home/runtime"
  cat > "$home/config/Quenbrook/Orvanta.conf" <<CONF
[Settings]
ViewMode=$mode
[Sites]
Titles="Alpha,Beta,\"Gamma site\""
Urls="file://$home/alpha.html,file://$home/beta.html,file://$home/gamma.html"
CONF
  for page in alpha beta gamma; do echo "<h1>$page</h1>" > "$home/$page.html"; done
  shot="$(realpath "$out")/${mode}-${names[$mode]}.png"
  XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
      build/orvanta 2>/dev/null & program=$!
      window=$(xdotool search --sync --onlyvisible --name "^Orvanta$" | head -n 1)
      sleep 3
      import -window "$window" "$0"
      kill $program; wait $program || true' "$shot"
  rm -rf "$home"
  echo "$shot"
done
