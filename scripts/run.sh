#!/usr/bin/env bash
# Installs what is missing, builds, and starts Rova on the shipped demo. Without a desktop
# session the launcher serves the window over VNC (see scripts/launch.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh plain
exec bash scripts/launch.sh ./build/app/rova "$@"
