#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs the comma-text fuzzer (default 60 seconds) from
# the committed corpus. Usage: bash tools/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DORVANTA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j2
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp tests/fuzz/corpus/* "$corpus"
build-fuzz/tests/fuzz/fuzz_commatext -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>&1 | tail -n 4
