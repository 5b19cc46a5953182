#!/usr/bin/env bash
# How close each tool's reduction comes to a careful reference: ImageMagick's
# Lanczos in linear light, made at full precision from the same photo. Every
# output is a JPEG at quality 100, so the resampling is what is scored.
# Metrics from libjxl's tools (lower is closer): SSIMULACRA and Butteraugli.
#
#   bench/resample_quality.sh [BUILD_DIR]
#
# Two sets in one run: photo-like camera JPEGs (12 MP to 800 x 600, made by
# bench/make_camera_photos.sh) and real photos (the 2560 x 1600 photographs
# of Debian's plasma-workspace-wallpapers, to 800 x 500). NSYN sets the
# number of photo-like images.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
nsyn=${NSYN:-4}

install_missing /usr/bin/convert-im6.q16=imagemagick vipsthumbnail=libvips-tools \
  butteraugli_main=libjxl-devtools exiftool=libimage-exiftool-perl \
  /usr/share/wallpapers/Path=plasma-workspace-wallpapers
im=/usr/bin/convert-im6.q16

configure_bench "$build" bench/optimize_cli -DLUMATRIM_TESTS=OFF
cmake --build "$build" --target optimize_makephoto optimize_cli resample_probe >/dev/null
tools=$root/$build/bench

make_work_dir lumatrim-quality
mkdir -p "$work/synthetic" "$work/real" "$work/out"
bench/make_camera_photos.sh "$tools" "$work/synthetic" img "$nsyn" 4000 3000 95 1
# The photographs among the wallpapers (the others are drawings).
for name in Autumn BytheWater ColdRipple ColorfulCups EveningGlow FallenLeaf OneStandsOut Path; do
  cp "/usr/share/wallpapers/$name/contents/images/2560x1600.jpg" "$work/real/$name.jpg"
done

methods=(lumatrim lumatrim-filter vipsthumbnail convert-sample convert-lanczos)
# make METHOD IN OUT W H
make() {
  local method=$1 in=$2 out=$3 w=$4 h=$5 name
  name=$(basename "$in")
  case $method in
    lumatrim)
      rm -f "$work/out/opt_$name"
      "$tools/optimize_cli" --out "$work/out" --short "$h" --long "$w" --compression 0 --jobs 1 "$in" 2>/dev/null
      mv "$work/out/opt_$name" "$out" ;;
    lumatrim-filter) "$tools/resample_probe" "$in" "${out%.jpg}.ppm" "$w" "$h" && mv "${out%.jpg}.ppm" "$out.ppm" ;;
    vipsthumbnail) vipsthumbnail "$in" -s "${w}x${h}!" -o "$out[Q=100]" 2>/dev/null ;;
    convert-sample) "$im" "$in" -sample "${w}x${h}!" -quality 100 "$out" ;;
    convert-lanczos) "$im" "$in" -filter Lanczos -resize "${w}x${h}!" -quality 100 "$out" ;;
  esac
}

printf '%-10s %-16s %12s %12s %12s %12s\n' set method ssimulacra "(worst)" butteraugli "(worst)"
for set in synthetic real; do
  if [ $set = synthetic ]; then w=800 h=600; else w=800 h=500; fi
  : >"$work/scores"
  for photo in "$work/$set"/*.jpg; do
    ref="$work/ref.png"
    "$im" "$photo" -colorspace RGB -filter Lanczos -resize "${w}x${h}!" -colorspace sRGB -depth 8 "$ref" 2>/dev/null
    for method in "${methods[@]}"; do
      out="$work/out/$method.jpg"
      make "$method" "$photo" "$out" "$w" "$h"
      [ "$method" = lumatrim-filter ] && out="$out.ppm"
      s=$(ssimulacra_main "$ref" "$out" 2>/dev/null | tail -1)
      b=$(butteraugli_main "$ref" "$out" 2>/dev/null | head -1)
      echo "$method $s $b" >>"$work/scores"
    done
  done
  for method in "${methods[@]}"; do
    awk -v m="$method" -v set="$set" '$1 == m {n++; s += $2; b += $3; if ($2 > ws) ws = $2; if ($3 > wb) wb = $3}
      END {printf "%-10s %-16s %12.5f %12.5f %12.3f %12.3f\n", set, m, s / n, ws, b / n, wb}' "$work/scores"
  done
done
echo "(lumatrim-filter: the resampler's own output before JPEG coding, for comparison)"
