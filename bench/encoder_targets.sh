#!/usr/bin/env bash
# The two quality targets of the batch on 20 camera photos at 2048 px:
#   --max-size 300k: every output at most 300 KiB, none more than 10 % under
#                    it unless at quality 100 (all steps 1);
#   --auto-quality 85: every output scores at least 85 against the resized
#                    picture, and all of them together take fewer bytes than
#                    the fixed compression the worst photo needs to reach 85.
# Also checks that every output decodes with djpeg and is progressive.
#
#   bench/encoder_targets.sh [BUILD_DIR]
#
# The photos are the shared corpus's real ones with a long side of 2048 px or
# more (when ../shared/corpus is there), then photo-like camera JPEGs up to 20.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
install_missing djpeg=libjpeg-turbo-progs exiftool=libimage-exiftool-perl identify=imagemagick /usr/bin/time=time
configure_bench "$build" bench/encode_probe -DLUMATRIM_TESTS=OFF
cmake --build "$build" --target encode_probe optimize_makephoto optimize_cli >/dev/null
tools=$root/$build/bench
make_work_dir lumatrim-targets
mkdir -p "$work/photos" "$work/size" "$work/auto" "$work/fixed"

corpus=$root/../shared/corpus/photos
if [ -d "$corpus" ]; then
  for f in "$corpus"/*.jpg; do
    long=$(identify -format '%[fx:max(w,h)]' "$f" 2>/dev/null || echo 0)
    [ "$long" -ge 2048 ] && djpeg "$f" >/dev/null 2>&1 && cp "$f" "$work/photos/"
  done
fi
have=$(ls "$work/photos" | wc -l)
[ "$have" -lt 20 ] && bench/make_camera_photos.sh "$tools" "$work/photos" camera $((20 - have)) 4000 3000 92 7
photos=("$work"/photos/*.jpg)
echo "${#photos[@]} photos ($have real ones from the corpus), long side 2048 px"

check_outputs() {  # decodes with djpeg, progressive
  local f bad=0
  for f in "$1"/*.jpg; do
    djpeg "$f" >/dev/null 2>&1 || { echo "  $f does not decode with djpeg"; bad=1; }
    [ "$(identify -format '%[interlace]' "$f")" = JPEG ] || { echo "  $f is not progressive"; bad=1; }
  done
  return $bad
}

limit=$((300 * 1024))
start=$(date +%s.%N)
"$tools/optimize_cli" --out "$work/size" --long 2048 --max-size 300k --jobs 2 "${photos[@]}" 2>"$work/size.log" || true
end=$(date +%s.%N)
over=0 under=0 failed=$(grep -c failed "$work/size.log" || true)
for f in "$work"/size/*.jpg; do
  bytes=$(stat -c %s "$f")
  [ "$bytes" -gt "$limit" ] && { over=$((over + 1)); echo "  over: $f $bytes"; }
  if [ "$bytes" -lt $((limit * 9 / 10)) ]; then
    # Quality 100 is every step 1: ImageMagick's estimate says 100.
    [ "$(identify -format '%Q' "$f")" = 100 ] || { under=$((under + 1)); echo "  under: $f $bytes"; }
  fi
done
echo "--max-size 300k: $(ls "$work/size" | wc -l) written, $failed failed, $over over 300 KiB, $under more than 10 % under;" \
  "sizes $(stat -c %s "$work"/size/*.jpg | sort -n | head -1)..$(stat -c %s "$work"/size/*.jpg | sort -n | tail -1) bytes;" \
  "$(awk -v a="$start" -v b="$end" -v n="${#photos[@]}" 'BEGIN {printf "%.2f s per photo (2 jobs)", (b - a) / n}')"
check_outputs "$work/size" && echo "  every output decodes with djpeg and is progressive"

start=$(date +%s.%N)
"$tools/optimize_cli" --out "$work/auto" --long 2048 --auto-quality 85 --jobs 2 "${photos[@]}" 2>/dev/null
end=$(date +%s.%N)
low=0 lowest=100
for f in "${photos[@]}"; do
  score=$("$tools/encode_probe" score "$f" "$work/auto/opt_${f##*/}" | cut -d' ' -f1)
  awk -v s="$score" 'BEGIN {exit !(s < 85)}' && low=$((low + 1))
  lowest=$(awk -v s="$score" -v l="$lowest" 'BEGIN {print (s < l ? s : l)}')
done
worst=$("$tools/encode_probe" worstfixed 85 2048 "${photos[@]}")
"$tools/optimize_cli" --out "$work/fixed" --long 2048 --compression $((100 - worst)) --jobs 2 "${photos[@]}" 2>/dev/null
autoBytes=$(du -cb "$work"/auto/*.jpg | tail -1 | cut -f1)
fixedBytes=$(du -cb "$work"/fixed/*.jpg | tail -1 | cut -f1)
echo "--auto-quality 85: $low outputs below 85 (lowest $lowest); $autoBytes bytes in all against $fixedBytes at the" \
  "fixed quality $worst the worst photo needs ($(awk -v a="$autoBytes" -v b="$fixedBytes" 'BEGIN {printf "%+.1f %%", 100 * (a / b - 1)}'));" \
  "$(awk -v a="$start" -v b="$end" -v n="${#photos[@]}" 'BEGIN {printf "%.2f s per photo (2 jobs)", (b - a) / n}')"
check_outputs "$work/auto" && echo "  every output decodes with djpeg and is progressive"
exiftool -q -q -Make "$work"/auto/*.jpg | grep -c Make | xargs echo "  outputs with the camera's Make kept:"
