#!/usr/bin/env bash
# Drives the program under Xvfb by mouse and keyboard (tray, optimisation
# dialog, batch, detail window) and writes docs/optimalizace-davka.png and
# docs/podrobnosti-{exif,miniatura,iptc,xmp}.png.   scripts/screenshot-dialogs.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake --build "$dir" --target dialogs_shot lumatrim-samples >/dev/null
[ -n "$(ls samples/*.jpg 2>/dev/null)" ] || ./scripts/make-samples.sh "$dir"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" "$dir/tools/screenshots/dialogs_shot" "$PWD/samples" "$work/shot" "$PWD/docs"
