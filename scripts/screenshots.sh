#!/usr/bin/env bash
# Makes the pictures in docs/ from the program as it is: the results window
# after a real run, the printed result (a real PDF turned into a picture)
# and the trend window of one person's tests. Each comes from the program's
# own windows and painting, drawn offscreen with a standing clock, so the
# pictures change only when the program does. Run it after changing what
# those windows show, and commit the pictures with the change.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default --target results_window_shot result_report_shot trend_window_shot \
    >/dev/null
export QT_QPA_PLATFORM=offscreen
tools=build/default/scripts/screenshots
"$tools/results_window_shot" docs/results-window.png
"$tools/result_report_shot" docs/result-report.png
"$tools/trend_window_shot" docs/trend-window.png
echo "Written: docs/results-window.png docs/result-report.png docs/trend-window.png"
