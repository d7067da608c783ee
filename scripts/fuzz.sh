#!/usr/bin/env bash
# Runs the libFuzzer targets of build-fuzz/.
#   scripts/fuzz.sh replay            each target runs once over its seed corpus (a quick check)
#   scripts/fuzz.sh run TARGET SECS   fuzzes one target for SECS seconds in a scratch corpus
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-replay}
case "$mode" in
  replay)
    shopt -s nullglob
    targets=(build-fuzz/fuzz/fuzz_*)
    for t in "${targets[@]}"; do
      name=$(basename "$t")
      echo "== $name: replaying fuzz/corpus/${name#fuzz_}"
      "$t" -runs=0 "fuzz/corpus/${name#fuzz_}"
    done
    echo "replayed ${#targets[@]} fuzz targets"
    ;;
  run)
    target=$2; secs=$3
    work="fuzz/corpus-run-$target"
    mkdir -p "$work"
    "build-fuzz/fuzz/fuzz_$target" -max_total_time="$secs" -print_final_stats=1 \
      "$work" "fuzz/corpus/$target"
    ;;
  *) echo "unknown mode: $mode" >&2; exit 2 ;;
esac
