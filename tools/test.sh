#!/usr/bin/env bash
# Installs what is needed, builds Orvanta and runs the whole test suite (headless): the
# comma-text fuzzer for 60 seconds, the engine-free suites under AddressSanitizer and
# UndefinedBehaviorSanitizer, then every suite of the regular build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
bash tools/build.sh
bash tools/fuzz.sh 60
bash tools/sanitize.sh
ctest --test-dir build --output-on-failure --timeout 600
