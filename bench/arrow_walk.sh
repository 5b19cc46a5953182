#!/usr/bin/env bash
# Walks with the arrow key through twenty 24 MP camera photos (EXIF and
# thumbnail as a camera writes them) in the main window and reports the
# event loop's longest stall (target: never above 30 ms) and the time from
# the key press to the thumbnail and to the decoded preview.
#   bench/arrow_walk.sh [BUILD_DIR]      N (photos, default 20)
# Runs under Xvfb when xvfb-run is there, else on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
n=${N:-20}
command -v exiftool >/dev/null || {
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq --no-install-recommends libimage-exiftool-perl >/dev/null
}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMATRIM_BENCH=ON >/dev/null
fi
cmake --build "$build" --target arrow_walk_bench optimize_makephoto >/dev/null
work=$(mktemp -d /tmp/lumatrim-arrow-walk.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work/runtime}
echo "making $n photos of 24 MP ..."
bench/make_camera_photos.sh "$PWD/$build/bench" "$work/photos" foto "$n" 6000 4000 92 1
# The first pass reads the files into the page cache, as a folder just looked at is.
cat "$work"/photos/*.jpg >/dev/null
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1600x1000x24" "$build/bench/arrow_walk_bench" "$work/photos" 400 40
else
  QT_QPA_PLATFORM=offscreen "$build/bench/arrow_walk_bench" "$work/photos" 400 40
fi
