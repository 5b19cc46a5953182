#!/usr/bin/env bash
# Draws docs/main-window.png: the main window started on the sample photos,
# one photo selected and two in the tray, grabbed by the window itself; and
# docs/main-window-enlarged.png, the same window enlarged on a 1600 x 1000 screen
# with the file list as thumbnails ("Náhledy");
# and docs/chyba-optimalizace.png, a failed batch's message box.
#   scripts/screenshot-main.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake --build "$dir" --target main_window_shot lumatrim-samples >/dev/null
[ -n "$(ls samples/*.jpg 2>/dev/null)" ] || ./scripts/make-samples.sh "$dir"
mkdir -p docs
shoot() {  # OUT.png [--size=WxH [--thumbnails]]
  local shot=("$dir/tools/screenshots/main_window_shot" "${@:2}" "$PWD/samples" 01_canon_hrad.jpg "$PWD/docs/$1"
              02_nikon_most.jpg 04_fujifilm_jezero.jpg)
  if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1600x1000x24" "${shot[@]}"
  else
    QT_QPA_PLATFORM=offscreen "${shot[@]}"
  fi
  echo "docs/$1 written"
}
shoot main-window.png
shoot main-window-enlarged.png --size=1200x860 --thumbnails
# A failure as the user reads it: in Czech, wrapped, however long the path.
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1600x1000x24" "$dir/tools/screenshots/main_window_shot" --error-box "$PWD/docs/chyba-optimalizace.png"
else
  QT_QPA_PLATFORM=offscreen "$dir/tools/screenshots/main_window_shot" --error-box "$PWD/docs/chyba-optimalizace.png"
fi
echo "docs/chyba-optimalizace.png written"
