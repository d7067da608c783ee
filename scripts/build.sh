#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh plain   -> build/       (GCC, warnings fatal)
#   scripts/build.sh asan    -> build-asan/  (clang, AddressSanitizer + UndefinedBehaviorSanitizer)
#   scripts/build.sh tsan    -> build-tsan/  (clang, ThreadSanitizer)
#   scripts/build.sh fuzz    -> build-fuzz/  (clang, libFuzzer targets with ASan + UBSan)
# Targets named after the flavour are built alone: scripts/build.sh tsan engine_tests
set -euo pipefail
cd "$(dirname "$0")/.."

flavour=${1:-plain}
shift || true
common=(-G Ninja -DROVA_WERROR=ON)
case "$flavour" in
  plain) dir=build; args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)  dir=build-asan; args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++
                               -DROVA_SANITIZE=address,undefined -DROVA_BENCH=OFF) ;;
  tsan)  dir=build-tsan; args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++
                               -DROVA_SANITIZE=thread -DROVA_BENCH=OFF) ;;
  fuzz)  dir=build-fuzz; args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++
                               -DROVA_SANITIZE=address,undefined -DROVA_FUZZ=ON) ;;
  *) echo "unknown build flavour: $flavour" >&2; exit 2 ;;
esac

cmake -S . -B "$dir" "${common[@]}" "${args[@]}" >/dev/null
if (($#)); then
  cmake --build "$dir" --target "$@"
else
  cmake --build "$dir"
fi
