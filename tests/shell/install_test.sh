#!/usr/bin/env bash
# Installs the built program the way the README says, into a scratch folder
# and with a relative prefix, and checks what a desktop then uses: the
# desktop entry names the installed program by an absolute path that runs,
# passes desktop-file-validate without a warning or hint, bin/velmora is
# the program itself with no "res" beside it (so it keeps its history in
# the user's data folder), the icon is there at every size, and the
# AppStream metadata passes appstreamcli.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
cmake --install "$build" --prefix relative >/dev/null

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
entry=relative/share/applications/velmora.desktop
[ -f "$entry" ] || fail "no desktop entry at $entry"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ "$exec_line" = "$scratch/relative/bin/velmora" ] ||
    fail "Exec=$exec_line, expected the absolute installed program"
[ -x "$exec_line" ] || fail "Exec names no program: $exec_line"
[ ! -L "$exec_line" ] || fail "bin/velmora is a link, not the program"
[ "$(sed -n 's/^TryExec=//p' "$entry")" = "$exec_line" ] || fail "TryExec differs from Exec"
if command -v desktop-file-validate >/dev/null; then
    report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
    [ -z "$report" ] || fail "desktop-file-validate says: $report"
else
    echo "desktop-file-validate not installed; entry not validated" >&2
fi
[ ! -e relative/bin/res ] || fail "a res folder beside the installed program makes it portable"
for size in 16 32 48 64 128 256; do
    [ -f relative/share/icons/hicolor/${size}x${size}/apps/velmora.png ] || fail "no ${size} px icon"
done
[ -f relative/share/icons/hicolor/scalable/apps/velmora.svg ] || fail "no scalable icon"
[ -f relative/share/man/man1/velmora.1.gz ] || fail "no man page"
metainfo=(relative/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || fail "no AppStream metadata"
if command -v appstreamcli >/dev/null; then
    report=$(appstreamcli validate --no-net "${metainfo[0]}" 2>&1) || fail "appstreamcli: $report"
else
    echo "appstreamcli not installed; metadata not validated" >&2
fi
echo "PASS: installed with a relative prefix; entry $exec_line"
