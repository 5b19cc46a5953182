#!/usr/bin/env bash
# Walks with the arrow key through twenty 24 MP camera photos (EXIF and
# thumbnail as a camera writes them) in the main window and reports the
# event loop's longest stall (target: never above 30 ms) and the time from
# the key press to the thumbnail and to the decoded preview.
#   bench/arrow_walk.sh [BUILD_DIR]      N (photos, default 20)
# Runs under Xvfb when xvfb-run is there, else on Qt's offscreen platform.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
n=${N:-20}
install_missing exiftool=libimage-exiftool-perl
configure_bench "$build" build.ninja
cmake --build "$build" --target arrow_walk_bench optimize_makephoto >/dev/null
make_work_dir lumatrim-arrow-walk
use_runtime_dir
echo "making $n photos of 24 MP ..."
bench/make_camera_photos.sh "$root/$build/bench" "$work/photos" foto "$n" 6000 4000 92 1
# The first pass reads the files into the page cache, as a folder just looked at is.
cat "$work"/photos/*.jpg >/dev/null
on_display 1600x1000 "$build/bench/arrow_walk_bench" "$work/photos" 400 40
