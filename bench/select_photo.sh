#!/usr/bin/env bash
# Times the selection of a 24 MP camera photo in the main window (target: under 80 ms).
#   bench/select_photo.sh [BUILD_DIR]   (configured with -DLUMATRIM_BENCH=ON)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-bench}
cmake -S . -B "$dir" -G Ninja -DLUMATRIM_BENCH=ON >/dev/null
cmake --build "$dir" --target select_photo_bench optimize_makephoto lumatrim-samples >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$dir/bench/optimize_makephoto" "$work/plain.jpg" "$work/thumb.jpg" 6000 4000 3 92
# Give it the EXIF block of a sample camera photo, as a camera file has one.
"$dir/tools/samples/lumatrim-samples" "$work/samples" >/dev/null
python3 - "$work/samples/01_canon_hrad.jpg" "$work/plain.jpg" "$work/photo.jpg" <<'PY'
import sys
donor = open(sys.argv[1], 'rb').read(); plain = open(sys.argv[2], 'rb').read()
i = 2
while donor[i] == 0xFF and donor[i + 1] != 0xE1:
    i += 2 + int.from_bytes(donor[i + 2:i + 4], 'big')
app1 = donor[i:i + 2 + int.from_bytes(donor[i + 2:i + 4], 'big')]
open(sys.argv[3], 'wb').write(plain[:2] + app1 + plain[2:])
PY
QT_QPA_PLATFORM=offscreen "$dir/bench/select_photo_bench" "$work/photo.jpg" 30
