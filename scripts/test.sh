#!/usr/bin/env bash
# Installs what is missing, then builds and runs every check headless: the
# whole suite (the real-X end-to-end tests included), the same suite built
# with AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded fuzz
# run of the history file reader. Arguments go to ctest (for example
# -R HistoryStoreTest); VELMORA_STAGES picks stages ("default asan fuzz").
set -euo pipefail
cd "$(dirname "$0")/.."
stages=${VELMORA_STAGES:-${VELMORA_PRESET:-default asan fuzz}}
bash scripts/setup.sh
for stage in $stages; do
    echo "=== ${stage}"
    case $stage in
    default | asan)
        bash scripts/build.sh "$stage"
        ctest --preset "$stage" "$@"
        ;;
    fuzz)
        bash scripts/fuzz.sh "${VELMORA_FUZZ_SECONDS:-60}"
        ;;
    *)
        echo "unknown stage: $stage" >&2
        exit 2
        ;;
    esac
done
