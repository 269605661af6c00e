#!/usr/bin/env bash
# Installs what is missing, builds what running needs, prepares a ready data folder on first
# use, and starts the program from it.
#
#   ./run.sh              the folder data/ with a few hundred demo residents
#   ./run.sh --demo N     the folder data-demo-N/ with N demo residents (100000 for a large archive)
#   ./run.sh --empty      the folder data-empty/ with an empty resident table
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

usage() {
    echo "usage: ./run.sh [--empty | --demo N]" >&2
    exit 2
}

folder=data
demo=300
case "${1:-}" in
    "") ;;
    --empty)
        [ $# -eq 1 ] || usage
        folder=data-empty
        demo=0 ;;
    --demo)
        [ $# -eq 2 ] && [[ "$2" =~ ^[0-9]+$ ]] || usage
        demo=$((10#$2))
        folder=data-demo-$demo ;;
    *) usage ;;
esac

# Before anything is installed or built: the program needs a screen.
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "VRIN needs a graphical display, and neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
    echo "Start it from a desktop session, or on a virtual screen: xvfb-run -s '-screen 0 1366x768x24' ./run.sh" >&2
    echo "(xvfb-run comes with the Debian package xvfb.)" >&2
    exit 1
fi

vrin_install_packages
# The program, its helper, the database writer and the delivered files; not the tests.
vrin_build build vrin vrin-xlsread vrin-initdb vrin_delivered_files

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

cd "$folder"
exec ./vrin
