#!/usr/bin/env bash
# Builds Velmora in Release and measures it: counts of the real program
# under Xvfb against the keys sent, interval timing idle and with a core
# busy, processor share of a run, key handling, start-up and the history at
# its limit. Prints one table; with --write also writes it, with the machine
# it ran on, to docs/performance.md (the committed table). See --help.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    cat <<'EOF'
Usage: bash scripts/bench.sh [--write] [--help]

Builds a Release version (build/release) and measures the real program:
counts under a private X server against the keys sent, releases made just
before interval ends the program is stopped across (X11 and Wayland),
interval-end lateness idle and with the other core busy, the processor
share of a run, the cost of one key release, start-up, the data window,
export and printed table on a full history of 32,767 records, and one
person's trend read from it and shown. Prints one table, each figure beside
its target. Takes about thirteen minutes, most of it whole test runs in
real time; run it on an otherwise idle machine.

  --write   also write the table, with the machine it ran on, to
            docs/performance.md (the table committed with the program)
  --help    show this text and do nothing else

VELMORA_BENCH_RUNS=N changes the runs per timing phase (default 10, five
interval ends each).
EOF
}

write=false
for argument in "$@"; do
    case $argument in
    --write) write=true ;;
    -h | --help)
        usage
        exit 0
        ;;
    *)
        echo "bench.sh: unknown option: $argument" >&2
        usage >&2
        exit 2
        ;;
    esac
done

runs=${VELMORA_BENCH_RUNS:-10}
bash scripts/setup.sh
[ -f build/release/build.ninja ] || cmake --preset release >/dev/null
cmake --build --preset release
bench=build/release/bench

work=$(mktemp -d)
busy=
cleanup() {
    [ -z "$busy" ] || kill "$busy" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

loads=()
# run NAME COMMAND...: runs one measurement, shows its output as it comes
# and keeps its table rows. A missed target makes a bench exit non-zero,
# which is a figure here, not a reason to stop.
run() {
    local name=$1
    shift
    loads+=("$name: $(cut -d' ' -f1-3 /proc/loadavg)")
    echo "== $name"
    "$@" 2>&1 | tee "$work/out" | grep -v '^ROW ' || true
    grep '^ROW ' "$work/out" | sed 's/^ROW //' >>"$work/rows" || true
}

run "counts under Xvfb" "$bench/count_bench" 5 10 15 20
run "releases across stopped ends" "$bench/count_bench" --stopped-ends
run "key handling and runs, idle" "$bench/run_bench" --runs "$runs" --busy-poll 5
# The other core held by a process that never sleeps.
bash -c 'while :; do :; done' &
busy=$!
run "runs, other core busy" "$bench/run_bench" --runs "$runs" --keys 0 --load "other core busy"
kill "$busy"
busy=
run "start-up" "$bench/startup_bench"
run "history at its limit" "$bench/data_window_bench"
run "a person's trend at the limit" "$bench/trend_bench"

table=$(
    echo "| Measure | Figure | Target | |"
    echo "|---|---|---|---|"
    sed 's/|/ | /g; s/^/| /; s/$/ |/' "$work/rows"
)

echo
echo "$table"
echo
if ! $write; then
    echo "Not written anywhere; bash scripts/bench.sh --write keeps it in docs/performance.md"
    exit 0
fi

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
memory=$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
qt=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)
{
    echo "# Performance"
    echo
    echo "Measured with \`bash scripts/bench.sh --write\` (Release build, $runs runs per timing"
    echo "phase) on $(date -u '+%Y-%m-%d %H:%M UTC')."
    echo
    echo "- Processor: $cpu, $(nproc) cores"
    echo "- Memory: $memory"
    echo "- Kernel: $(uname -sr)"
    echo "- Qt: $qt"
    echo "- Load average (1, 5, 15 min) as each phase began:"
    for load in "${loads[@]}"; do
        echo "  - $load"
    done
    # More runnable processes than cores: the figures include their share.
    if printf '%s\n' "${loads[@]}" | awk -v cores="$(nproc)" \
        '{ split($0, part, ": "); split(part[2], load, " "); if (load[1] > cores / 2) busy = 1 }
         END { exit !busy }'; then
        echo
        echo "Other processes were running while this was measured (see the load"
        echo "averages), so the timing figures include their interference: an interval"
        echo "end or an operation may have waited for a core."
    fi
    echo
    echo "$table"
    echo
    cat <<'EOF'
## How the figures are taken

- Counts: the real `velmora` in a private Xvfb with openbox; xdotool sends
  one key press and release per call at 5, 10, 15 and 20 a second through a
  whole test, and each release is timestamped around its call. The four
  stored counts are read from the history file's bytes. "sent" is the
  number of releases inside each interval's nominal window (five seconds
  after the whole second the run started in, then every five seconds); a
  range means some releases went out within 10 ms of an interval end and
  may fall on either side. The presses keep to a grid midway between
  interval ends, so a count is checked exactly whenever the xdotool call
  leaves 10 ms clear of the end.
- Releases across stopped ends: one whole test on X11 (Xvfb, xdotool) and
  one on Wayland (headless sway, wtype), with the program stopped
  (`SIGSTOP`) from just before each interval end to 40-240 ms after it,
  and one or two releases made about 20 ms before the end meanwhile, a few
  taps well inside each interval besides. The figure is how many of those
  releases were counted in the interval in which they were made: the
  fewest moved releases that explain the stored counts, taken from all.
  X11 stamps each key event with the time it was made on the clock the
  program times intervals on; wtype's keys carry no time, so on Wayland
  the program counts a release where it handles it, after taking in the
  input still pending at the end.
- Interval-end lateness: the moment the test window's handler starts on an
  interval end, minus that end's nominal time on the monotonic clock, over
  whole runs at ten key releases a second (offscreen). "other core busy"
  is the same with a process spinning in a loop beside it.
- CPU share: the process's user and system time over a whole run divided by
  the run's wall time. The busy-polling loop is the timing the program no
  longer uses (check the clock, let events through, never sleep), measured
  the same way; below 100 % means other processes took the core from it.
- Key release: one call of the key-up handler with its diagram step, timed
  alone, offscreen.
- Start-up: a process started until the test window is first painted,
  offscreen, median of ten.
- History at its limit: 32,767 records; the data window opened and painted,
  the export through the frame's command into a new file (written and
  flushed to disk), the printed table's text; worst of five each, and the
  process's peak resident size over all of it.
- A person's trend: the same 32,767 records read for one person's tests,
  once for one of forty people who share the history (about 800 tests),
  once for a history that is all one person's; worst of five each. The
  memory is the rise of the peak resident size over the size before the
  readings. The trend window shown (read, drawn and painted, offscreen) is
  reported for both.
EOF
} >docs/performance.md

echo "Written to docs/performance.md"
