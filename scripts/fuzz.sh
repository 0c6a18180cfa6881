#!/usr/bin/env bash
# Builds the fuzz target with clang and runs it for a bounded time (seconds,
# default 60) from the seed corpus in fuzz/corpus. Fails on any crash, hang,
# broken check or sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/build.sh fuzz >/dev/null
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
echo "Fuzzing the history file reader for ${seconds} s"
build/fuzz/fuzz/history_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$found/" "$found" fuzz/corpus 2>&1 | tail -n 12
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ]; then
    echo "The fuzz run failed; the input that did it:" >&2
    ls -l "$found"/crash-* "$found"/timeout-* "$found"/oom-* 2>/dev/null >&2 || true
    mkdir -p build/fuzz/artifacts && cp "$found"/crash-* "$found"/timeout-* "$found"/oom-* build/fuzz/artifacts/ 2>/dev/null || true
    exit "$status"
fi
echo "fuzz: 1 passed, 0 failed"
