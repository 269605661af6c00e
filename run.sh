#!/usr/bin/env bash
# Installs what is missing, builds, prepares a ready data folder on first use, and starts
# the program from it.
#
#   ./run.sh            the folder data/ with a few hundred demo residents
#   ./run.sh --empty    the folder data-empty/ with an empty resident table
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

folder=data
demo=300
if [ "${1:-}" = "--empty" ]; then
    folder=data-empty
    demo=0
elif [ $# -gt 0 ]; then
    echo "usage: ./run.sh [--empty]" >&2
    exit 2
fi

vrin_install_packages
vrin_build build

mkdir -p "$folder"
if [ ! -e "$folder/人员档案.mdb" ]; then
    if [ "$demo" -gt 0 ]; then
        build/tools/vrin-initdb/vrin-initdb "$folder/人员档案.mdb" --demo "$demo"
    else
        build/tools/vrin-initdb/vrin-initdb "$folder/人员档案.mdb"
    fi
fi
# A portable installation: the program lives in its data folder, beside its background
# picture and manual.
cp build/src/app/vrin build/src/office/xlsread/vrin-xlsread "$folder/"
cp build/assets/bk.jpg build/assets/VRIN使用说明.doc build/assets/人员情况表.dot "$folder/"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "VRIN needs a graphical display, and neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
    echo "Start it from a desktop session, or with a virtual one: xvfb-run ./run.sh" >&2
    exit 1
fi
cd "$folder"
exec ./vrin
