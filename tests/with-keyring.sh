#!/usr/bin/env bash
# Runs a test beside a keyring of its own (the Secret Service of gnome-keyring, unlocked), on
# the session bus that dbus-run-session started for it.
set -euo pipefail
HOME=$(mktemp -d)
export HOME
eval "$(printf 'test' | gnome-keyring-daemon --unlock --components=secrets)"
export ORVANTA_TEST_KEYRING=1
status=0
"$@" || status=$?
rm -rf "$HOME"
exit "$status"
