#!/usr/bin/env bash
# Makes photo-like camera JPEGs for the benchmarks: baseline, high quality,
# with the EXIF block of a camera and a thumbnail (exiftool writes the EXIF).
#   bench/make_camera_photos.sh TOOLS_DIR OUT_DIR PREFIX COUNT WIDTH HEIGHT QUALITY [FIRST_SEED]
# Writes OUT_DIR/PREFIX1.jpg ... PREFIX<COUNT>.jpg.
set -euo pipefail
tools=$1 out=$2 prefix=$3 count=$4 width=$5 height=$6 quality=$7 seed=${8:-1}
mkdir -p "$out"
thumb=$(mktemp --suffix=.jpg)
trap 'rm -f "$thumb"' EXIT
files=()
for i in $(seq 1 "$count"); do
  files+=("$out/$prefix$i.jpg")
  "$tools/optimize_makephoto" "${files[-1]}" "$thumb" "$width" "$height" "$((seed + i - 1))" "$quality" >/dev/null
done
exiftool -q -overwrite_original -Make=Canon "-Model=Canon EOS 5D Mark II" \
  "-DateTimeOriginal=2024:06:01 12:00:00" -ExposureTime=1/125 -FNumber=5.6 -ISO=200 \
  "-ExifImageWidth=$width" "-ExifImageHeight=$height" "-ThumbnailImage<=$thumb" "${files[@]}"
