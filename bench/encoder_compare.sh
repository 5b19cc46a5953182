#!/usr/bin/env bash
# Bytes at equal quality: our JPEG encoder against mozjpeg's cjpeg, ImageMagick
# and libvips on real photos at 1600 px, scored with our SSIMULACRA 2 (and
# Debian's butteraugli on the peers' default outputs). Prints each encoder's
# curve, the BD-rate over SSIMULACRA 2 60..90 against ours and mozjpeg's, and
# the peers' default settings as single points.
#
#   bench/encoder_compare.sh [BUILD_DIR]
#
# BUILD_DIR (default build-bench) is configured with -DLUMATRIM_BENCH=ON when
# it has no benchmark tools yet; mozjpeg is built once into BUILD_DIR/mozjpeg
# from the source the npm package `mozjpeg` ships (never linked into Lumatrim).
#
# Settings (environment):
#   LUMATRIM_CURVES  our encoder's modes, "label=flags" separated by ";"; the
#                    flags go to `lumatrim-cli optimize --keep-size` with {c}
#                    (compression 100 - quality) or {q} (quality) swept over
#                    QUALITIES, or {s} swept over SCORES (a score target).
#                    Default "ours=--compression {c}". A new mode is one more
#                    entry, e.g. "ours=--compression {c};auto=--auto-quality {s}".
#                    The curve "today" is the batch's encoder before ours:
#                    libjpeg-turbo's defaults (encode_probe plain).
#   QUALITIES        default "30 40 50 60 70 75 80 85 90 95"
#   SCORES           default "60 65 70 75 80 85 90"
#   PHOTOS           a folder of JPEG photos to use instead of the corpus's
#                    (those at least 1600 px on the long side are taken)
#   BUTTERAUGLI      "defaults" (the default points, the default), "all" or "off";
#                    butteraugli takes seconds per picture, so "all" is slow
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
curves_spec=${LUMATRIM_CURVES:-"ours=--compression {c}"}
qualities=${QUALITIES:-"30 40 50 60 70 75 80 85 90 95"}
scores=${SCORES:-"60 65 70 75 80 85 90"}
butteraugli_mode=${BUTTERAUGLI:-defaults}
long_side=1600

install_missing /usr/bin/convert-im6.q16=imagemagick vipsthumbnail=libvips-tools djpeg=libjpeg-turbo-progs jpegtran=libjpeg-turbo-progs \
  npm=npm make=make
[ "$butteraugli_mode" = off ] || install_missing butteraugli=butteraugli
im=/usr/bin/convert-im6.q16

configure_bench "$build" bench/optimize_floor -DLUMATRIM_TESTS=OFF
cmake --build "$build" --target optimize_cli lumatrim-ssimulacra2 encode_probe >/dev/null
cli=$root/$build/bench/optimize_cli
metric=$root/$build/bench/lumatrim-ssimulacra2

# mozjpeg's cjpeg, from the npm package's vendored source. Its CMake build is
# for Windows only, so its configure script builds it; no SIMD (no nasm
# needed), which changes its speed, not its output.
cjpeg=$root/$build/mozjpeg/cjpeg
if [ ! -x "$cjpeg" ]; then
  echo "building mozjpeg's cjpeg from npm's mozjpeg package ..."
  moz=$root/$build/mozjpeg
  rm -rf "$moz" && mkdir -p "$moz/src"
  (cd "$moz" && npm pack --silent mozjpeg >/dev/null && tar xzf mozjpeg-*.tgz \
    && tar xzf package/vendor/source/mozjpeg.tar.gz -C src)
  (cd "$moz" && mkdir -p build && cd build \
    && ../src/mozjpeg/configure --disable-shared --without-simd --without-turbojpeg -q >/dev/null \
    && make -j2 cjpeg >/dev/null 2>&1 && cp cjpeg "$cjpeg")
fi
echo "mozjpeg: $("$cjpeg" -version 2>&1 | head -1)"

make_work_dir lumatrim-encoders
mkdir -p "$work/in" "$work/out"

# The photos: real camera JPEGs, long side to 1600 px by our own resampler at
# quality 100, 4:4:4, metadata dropped (losslessly) so no output carries more
# than its picture. That JPEG is every encoder's input (its decoded pixels as
# PPM for the peers), so all are scored against the same picture.
photo_dir=${PHOTOS:-$root/../shared/corpus/photos}
originals=()
for f in "$photo_dir"/*.jpg "$photo_dir"/*.JPG; do
  [ -f "$f" ] || continue
  case $f in *truncated*) continue ;; esac  # a damaged stream is no photo to measure on
  size=$(identify -format '%w %h %[fx:standard_deviation]' "$f[0]" 2>/dev/null) || continue
  read -r w h spread <<<"$size"
  # a flat placeholder picture (a sample whose photo was replaced) measures nothing
  case $spread in *nan*) continue ;; esac
  awk -v s="$spread" 'BEGIN {exit !(s >= 0.02)}' || continue
  [ $((w > h ? w : h)) -ge $long_side ] && originals+=("$f")
done
[ ${#originals[@]} -ge 8 ] || { echo "need at least 8 photos of $long_side px or more in $photo_dir"; exit 1; }
"$cli" --out "$work/in" --long $long_side --compression 0 --jobs 1 "${originals[@]}" >/dev/null 2>&1
photos=()
for f in "$work"/in/*.jpg; do
  name=$(basename "$f" .jpg)
  name=${name#opt_}
  jpegtran -copy none "$f" >"$work/in/$name.jpg"
  rm "$f"
  djpeg "$work/in/$name.jpg" >"$work/in/$name.ppm"
  photos+=("$name")
done
echo "${#photos[@]} photos, long side $long_side px: ${photos[*]}"

csv=$work/points.csv
echo "photo,curve,setting,bytes,ssimulacra2,butteraugli" >"$csv"

# score PHOTO CURVE SETTING... : scores "$work/out/CURVE-SETTING.jpg" for each
# setting against the photo in one run (the reference's half is done once).
score() {
  local photo=$1 curve=$2
  shift 2
  local files=() setting
  for setting in "$@"; do files+=("$work/out/$curve-$setting.jpg"); done
  "$metric" "$work/in/$photo.jpg" "${files[@]}" | while read -r value file; do
    [ -n "$file" ] || file=${files[0]}
    setting=${file##*/$curve-}
    setting=${setting%.jpg}
    local butter=
    if [ "$butteraugli_mode" = all ] || { [ "$butteraugli_mode" = defaults ] && [[ $setting == default* ]]; }; then
      butter=$(butteraugli "$work/in/$photo.jpg" "$file" | tail -1)  # it reads JPEG and PNG, not PPM
    fi
    echo "$photo,$curve,$setting,$(stat -c %s "$file"),$value,$butter" >>"$csv"
  done
}

IFS=';' read -r -a curves <<<"$curves_spec"
for photo in "${photos[@]}"; do
  echo "  $photo"
  rm -rf "$work/out" && mkdir -p "$work/out"
  ppm=$work/in/$photo.ppm
  for entry in "${curves[@]}"; do
    label=${entry%%=*} flags=${entry#*=}
    if [[ $flags == *"{s}"* ]]; then sweep=$scores; else sweep=$qualities; fi
    settings=()
    for v in $sweep; do
      args=${flags//\{c\}/$((100 - v))}
      args=${args//\{q\}/$v}
      args=${args//\{s\}/$v}
      mkdir -p "$work/out/run"
      # shellcheck disable=SC2086  # the flags are words on purpose
      "$cli" --out "$work/out/run" --keep-size --jobs 1 $args "$work/in/$photo.jpg" >/dev/null 2>&1
      mv "$work/out/run/opt_$photo.jpg" "$work/out/$label-$v.jpg"
      settings+=("$v")
    done
    # Our own default (compression 20) as a point beside the peers' defaults.
    if [ "$label" = "${curves[0]%%=*}" ]; then
      "$cli" --out "$work/out/run" --keep-size --jobs 1 "$work/in/$photo.jpg" >/dev/null 2>&1
      mv "$work/out/run/opt_$photo.jpg" "$work/out/$label-default.jpg"
      settings+=(default)
    fi
    score "$photo" "$label" "${settings[@]}"
  done
  for q in $qualities; do
    "$root/$build/bench/encode_probe" plain "$q" "$work/in/$photo.jpg" "$work/out/today-$q.jpg"
    "$cjpeg" -quality "$q" "$ppm" >"$work/out/mozjpeg-$q.jpg"
    "$im" "$ppm" -quality "$q" "$work/out/imagemagick-$q.jpg"
    vipsthumbnail "$ppm" -s "${long_side}x$long_side" -o "$work/out/vips-$q.jpg[Q=$q]"
  done
  "$cjpeg" "$ppm" >"$work/out/mozjpeg-default.jpg"
  "$im" "$ppm" "$work/out/imagemagick-default.jpg"
  vipsthumbnail "$ppm" -s "${long_side}x$long_side" -o "$work/out/vips-default.jpg"
  "$root/$build/bench/encode_probe" plain 80 "$work/in/$photo.jpg" "$work/out/today-default.jpg"
  for peer in today mozjpeg imagemagick vips; do
    # shellcheck disable=SC2086
    score "$photo" "$peer" $qualities default
  done
done

first_curve=${curves[0]%%=*}
python3 "$root/bench/lib/bd_rate.py" "$csv" "$first_curve" mozjpeg today
cp "$csv" "$root/$build/encoder_compare.csv"
echo
echo "points: $build/encoder_compare.csv   (load average now: $(cut -d' ' -f1-3 /proc/loadavg))"
