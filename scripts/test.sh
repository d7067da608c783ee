#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in the plain build and once under
# AddressSanitizer + UndefinedBehaviorSanitizer. Then every fuzz target replays its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

bash scripts/build.sh plain
ctest --test-dir build --output-on-failure -j "$(nproc)"

bash scripts/build.sh asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

bash scripts/build.sh fuzz
bash scripts/fuzz.sh replay
