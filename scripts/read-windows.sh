#!/usr/bin/env bash
# Reads the program's windows as a screen reader does, in the language the
# given settings choose: starts the program (a portable copy, with a small
# history) on a private X server with the accessibility bus, makes a whole
# test and opens every window, and writes into <out-dir> what AT-SPI says of
# each (NN-window.txt) and a screenshot of it (NN-window.png); last it lists
# the texts holding a word in Latin letters. For example:
#     bash scripts/read-windows.sh /tmp/ru LANG=ru_RU.UTF-8
#     bash scripts/read-windows.sh /tmp/en LANG=en_US.UTF-8
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: read-windows.sh <out-dir> [NAME=value ...]" >&2; exit 2; }
out=$(realpath -m "$1")
shift
bash scripts/setup.sh
extra=()
for package in python3-pyatspi at-spi2-core dbus; do
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" = installed ] ||
        extra+=("$package")
done
if [ ${#extra[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends "${extra[@]}"
fi
bash scripts/build.sh default --target velmora TrendOnXTest >/dev/null

work=$(mktemp -d)
mkdir -p "$out" "$work/velmora/res" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cp build/default/velmora "$work/velmora/"
/usr/bin/python3 scripts/windows/sample_history.py "$work/velmora/restest.dat"
display=90
while [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
DISPLAY=":$display" openbox >/dev/null 2>&1 &
env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
    DISPLAY=":$display" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@" \
    dbus-run-session -- bash -c '
        /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
        sleep 1
        (cd "$1" && exec ./velmora >"$2/program.log" 2>&1) &
        sleep 3
        /usr/bin/python3 "$3/scripts/windows/read_windows.py" "$2" "$3/build/default/tests/TrendOnXTest"
        status=$?
        pkill -f "$1/velmora" || true
        exit $status' reader "$work/velmora" "$out" "$PWD" 2>&1 | grep -v "fd limit" || true
echo "Written: $out"
