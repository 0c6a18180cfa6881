#!/usr/bin/env bash
# Installs the built program the way the README says, into a scratch folder
# and with a relative prefix, and checks what a desktop then uses: the
# desktop entry names the installed program by an absolute path that runs,
# passes desktop-file-validate without a warning or hint, and bin/velmora
# reaches the program with its "res" folder beside it.
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
[ "$exec_line" = "$scratch/relative/lib/velmora/velmora" ] ||
    fail "Exec=$exec_line, expected the absolute installed program"
[ -x "$exec_line" ] || fail "Exec names no program: $exec_line"
[ "$(sed -n 's/^TryExec=//p' "$entry")" = "$exec_line" ] || fail "TryExec differs from Exec"
if command -v desktop-file-validate >/dev/null; then
    report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
    [ -z "$report" ] || fail "desktop-file-validate says: $report"
else
    echo "desktop-file-validate not installed; entry not validated" >&2
fi
[ "$(readlink -f relative/bin/velmora)" = "$exec_line" ] || fail "bin/velmora does not reach the program"
[ -d relative/lib/velmora/res ] || fail "no res folder beside the installed program"
[ -f relative/share/icons/hicolor/32x32/apps/velmora.png ] || fail "no icon"
echo "PASS: installed with a relative prefix; entry $exec_line"
