#!/usr/bin/env bash
# Installs what is missing, builds and starts Velmora.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default --target velmora >/dev/null
exec build/default/bin/velmora "$@"
