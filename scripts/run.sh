#!/usr/bin/env bash
# Installs what is missing, builds and starts Velmora.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default --target velmora >/dev/null
# Builds before this one kept the history in the build tree, where
# removing build/ deletes it; the program now keeps it in the user's data
# folder. Said once a run, never moved here: the person decides.
old=build/default/bin
if [ -f "$old/restest.dat" ]; then
    data=${XDG_DATA_HOME:-$HOME/.local/share}/velmora
    echo "velmora: tests from an older build are in $PWD/$old/restest.dat," \
        "which removing build/ deletes; new tests go to $data/restest.dat." >&2
    if [ -e "$data/restest.dat" ]; then
        echo "  Both exist; open the older one with File > Open old data." >&2
    else
        printf '  To move them there: mkdir -p -m 700 %q && mv -n %q/restest.* %q/\n' \
            "$data" "$PWD/$old" "$data" >&2
    fi
fi
exec build/default/velmora "$@"
