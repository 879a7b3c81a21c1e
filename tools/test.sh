#!/usr/bin/env bash
# Installs what is needed, builds Orvanta and runs the whole test suite (headless).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
bash tools/build.sh
ctest --test-dir build --output-on-failure --timeout 600
