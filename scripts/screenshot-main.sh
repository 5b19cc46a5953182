#!/usr/bin/env bash
# Draws docs/main-window.png: the main window started on the sample photos,
# one photo selected and two in the tray, grabbed by the window itself.
#   scripts/screenshot-main.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake --build "$dir" --target main_window_shot lumatrim-samples >/dev/null
[ -n "$(ls samples/*.jpg 2>/dev/null)" ] || ./scripts/make-samples.sh "$dir"
mkdir -p docs
shot=("$dir/tools/screenshots/main_window_shot" "$PWD/samples" 01_canon_hrad.jpg "$PWD/docs/main-window.png"
      02_nikon_most.jpg 04_fujifilm_jezero.jpg)
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1024x768x24" "${shot[@]}"
else
  QT_QPA_PLATFORM=offscreen "${shot[@]}"
fi
echo "docs/main-window.png written"
