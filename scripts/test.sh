#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in the plain build and once under
# AddressSanitizer + UndefinedBehaviorSanitizer. The tests of the parts that run threads of their
# own (the engine, the preview and the application; CTest label "threads") then run again under
# ThreadSanitizer, which builds only those test programs. Then every fuzz target replays its seed
# corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

bash scripts/build.sh plain
ctest --test-dir build --output-on-failure -j "$(nproc)"

bash scripts/build.sh asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

# ThreadSanitizer: only the test programs of the parts with threads of their own are built, and
# only their tests (label "threads") are run. app_tests paint the whole main window and need one
# more suppression (see tests/tsan-app.supp).
bash scripts/build.sh tsan engine_tests preview_tests app_tests
tsan=halt_on_error=1:second_deadlock_stack=1
for part in engine preview; do
  TSAN_OPTIONS="$tsan:suppressions=$PWD/tests/tsan.supp" ctest --test-dir "build-tsan/tests/$part" \
    -L threads --no-tests=error --output-on-failure -j "$(nproc)"
done
TSAN_OPTIONS="$tsan:suppressions=$PWD/tests/tsan-app.supp" ctest --test-dir build-tsan/tests/app \
  -L threads --no-tests=error --output-on-failure -j "$(nproc)"

bash scripts/build.sh fuzz
bash scripts/fuzz.sh replay
