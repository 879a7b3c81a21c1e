#!/usr/bin/env bash
# Builds the suites that don't start the web engine with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs them; any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
suites=(tst_commatext tst_registry tst_mainwindow tst_controller tst_setup tst_wallscreen tst_selector tst_screens tst_layout tst_about tst_remote tst_mqtt)
cmake --build build-asan -j2 --target orvanta "${suites[@]}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$(pwd)/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan -L unit --output-on-failure
