#!/usr/bin/env bash
# Configures (once) and builds one preset: default or asan.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
shift || true
[ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" "$@"
