#!/usr/bin/env bash
# A 12 MP phone HEIC to a 1600 px JPEG: lumatrim-cli optimize against what a
# user would do with the peers, heif-convert (libheif's own tool) followed by
# vipsthumbnail. Prints the wall and CPU time per photo (best of ROUNDS), the
# output sizes, and what each output says about its Orientation. Then the
# same for an AVIF that avifenc makes of the HEIC's decode, with avifdec
# followed by vipsthumbnail as a second peer.
#
#   bench/heif_compare.sh [BUILD_DIR] [PHOTO.heic]
#
# BUILD_DIR (default build-bench) needs lumatrim-cli, or is configured for the
# benchmarks' optimize_cli (the same verb without the windows). The photo is
# the corpus iPhone HEIC when present, else a 4032 x 3024 picture made here
# with ImageMagick and heif-enc.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
rounds=${ROUNDS:-5}
install_missing heif-convert=libheif-examples vipsthumbnail=libvips-tools exiftool=libimage-exiftool-perl \
  /usr/bin/convert-im6.q16=imagemagick /usr/bin/time=time avifenc=libavif-bin

if [ -x "$build/app/lumatrim-cli" ]; then
  cli=("$root/$build/app/lumatrim-cli" optimize)
else
  configure_bench "$build" bench/optimize_cli -DLUMATRIM_TESTS=OFF -DLUMATRIM_UI=OFF
  cmake --build "$build" --target optimize_cli >/dev/null
  cli=("$root/$build/bench/optimize_cli")
fi

make_work_dir lumatrim-heif-bench
photo=${2:-$root/../shared/corpus/heif/apple_iphone13_heic_1.heic}
if [ ! -f "$photo" ]; then
  /usr/bin/convert-im6.q16 -size 4032x3024 plasma:fractal -blur 0x1 "$work/made.png"
  heif-enc -q 85 -o "$work/made.heic" "$work/made.png" >/dev/null
  photo=$work/made.heic
fi
mkdir -p "$work/ours" "$work/peer"

# best_of COMMAND...: the fastest of $rounds runs, as "wall_s cpu_s".
best_of() {
  local best="" line
  for _ in $(seq "$rounds"); do
    line=$(/usr/bin/time -f "%e %U %S" "$@" 2>&1 >/dev/null | tail -1)
    line=$(awk '{printf "%.3f %.3f", $1, $2 + $3}' <<<"$line")
    if [ -z "$best" ] || awk -v a="$line" -v b="$best" 'BEGIN{split(a,x," ");split(b,y," ");exit !(x[1]<y[1])}'; then
      best=$line
    fi
  done
  echo "$best"
}

peer_pipeline() {
  heif-convert -q 95 "$photo" "$work/peer/full.jpg" >/dev/null
  vipsthumbnail "$work/peer/full.jpg" -s 1600x1600 -o "$work/peer/thumb.jpg[Q=80,strip=false]"
}
avifdec_pipeline() {
  avifdec "$photo" "$work/peer/full.png" >/dev/null
  vipsthumbnail "$work/peer/full.png" -s 1600x1600 -o "$work/peer/avifdec.jpg[Q=80,strip=false]"
}
export -f peer_pipeline avifdec_pipeline
export work

# compare PEER_ROW...: times ours and each peer ("name|function|output") on $photo.
compare() {
  export photo
  rm -f "$work/ours"/*
  local rows=("lumatrim-cli optimize --long 1600|$(best_of "${cli[@]}" --long 1600 --jobs 1 --existing=overwrite --out "$work/ours" "$photo")|$(echo "$work"/ours/*)")
  local peer name function file
  for peer in "$@"; do
    IFS='|' read -r name function file <<<"$peer"
    rows+=("$name|$(best_of bash -c "$function")|$file")
  done
  echo "photo: $photo ($(exiftool -s3 -ImageSize "$photo") stored)"
  printf "%-34s %8s %8s %10s %-12s %s\n" "" wall_s cpu_s bytes size Orientation
  local times
  for row in "${rows[@]}"; do
    IFS='|' read -r name times file <<<"$row"
    printf "%-34s %8s %8s %10s %-12s %s\n" "$name" ${times} "$(stat -c %s "$file")" \
      "$(exiftool -s3 -ImageSize "$file")" "$(exiftool -s3 -Orientation "$file")"
  done
}

compare "heif-convert + vipsthumbnail|peer_pipeline|$work/peer/thumb.jpg"
echo "heif-convert copies the HEIC's Orientation tag over pixels libheif already turned upright;"
echo "vipsthumbnail (or any viewer) then turns the picture a second time: compare the sizes above."

# The AVIF: the HEIC's upright decode with its colour profile, coded by
# avifenc at its default quality, 8-bit 4:2:0. Without its EXIF: heif-convert
# copies Orientation 6 into it, and avifenc would make that an irot box that
# turns the upright picture once more.
heif-convert "$photo" "$work/decoded.png" >/dev/null
avifenc --jobs all --ignore-exif -d 8 -y 420 "$work/decoded.png" "$work/made.avif" >/dev/null
photo=$work/made.avif
echo
compare "heif-convert + vipsthumbnail|peer_pipeline|$work/peer/thumb.jpg" \
  "avifdec + vipsthumbnail|avifdec_pipeline|$work/peer/avifdec.jpg"
