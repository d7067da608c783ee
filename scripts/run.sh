#!/usr/bin/env bash
# Installs what is missing, builds, and starts Rova on the shipped demo.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh plain
exec ./build/app/rova "$@"
