#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite headless.
# Any argument is passed to ctest (for example -R HistoryStoreTest).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${VELMORA_PRESET:-default}
bash scripts/setup.sh
bash scripts/build.sh "$preset"
ctest --preset "$preset" "$@"
