#!/usr/bin/env bash
# Times turning a 9 MP camera photo (3456 x 2592, q92 4:4:4, EXIF and
# thumbnail) in place, each turn a new process as from a shell:
# `lumatrim-cli rotate right` (target: under 0.25 s), an older lumatrim-cli
# when one is named, and the peers a user would reach for: jpegtran alone
# (lossless, but leaves the EXIF orientation, sizes and thumbnail as they
# were), ImageMagick and libvips (they decode and encode the picture again,
# so they are not lossless).
#
#   bench/rotate_compare.sh [BUILD_DIR] [--before OLD_LUMATRIM_CLI]
#
# BUILD_DIR (default build-bench) is configured with -DLUMATRIM_BENCH=ON when
# it has no benchmark tools yet. RUNS sets the turns per command (default 10).
#
# Measured on the two-core virtual machine at idle (load average under 1),
# 20 turns each, with --before the lumatrim-cli that turned through
# TurboJPEG's tjTransform (two full copies of the coefficients, cleared first):
#   command                                wall median   CPU (user+sys)
#   lumatrim-cli (blocks moved as coded)       0.153 s       0.145 s
#   lumatrim-cli before (tjTransform)          0.547 s       0.538 s
#   jpegtran (no EXIF update)                  0.480 s       0.479 s
#   ImageMagick (re-encodes)                   0.833 s       0.840 s
#   libvips (re-encodes)                       0.237 s       0.331 s
# The lumatrim-cli that started jpegtran as a child process took 2.87 s wall
# and 0.73 s CPU at a load average near 20 (jpegtran alone: 2.27 s, 0.53 s).
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
before=
if [ "${2:-}" = "--before" ]; then before=${3:?usage: bench/rotate_compare.sh [BUILD_DIR] [--before CLI]}; fi
runs=${RUNS:-10}

install_missing hyperfine=hyperfine jpegtran=libjpeg-turbo-progs /usr/bin/convert-im6.q16=imagemagick \
  vips=libvips-tools exiftool=libimage-exiftool-perl

configure_bench "$build" bench/optimize_makephoto -DLUMATRIM_TESTS=OFF
cmake --build "$build" --target optimize_makephoto lumatrim-cli >/dev/null
cli=$root/$build/app/lumatrim-cli

make_work_dir lumatrim-rotate
bench/make_camera_photos.sh "$root/$build/bench" "$work" photo 1 3456 2592 92
cp "$work/photo1.jpg" "$work/source.jpg"
echo "photo: 3456 x 2592, $(du -b "$work/source.jpg" | cut -f1) bytes"

photo=$work/turned.jpg
commands=(-n lumatrim-cli "$cli rotate right $photo")
[ -n "$before" ] && commands+=(-n "lumatrim-cli before" "$before rotate right $photo")
commands+=(
  -n "jpegtran (no EXIF update)" "jpegtran -copy all -rotate 90 -trim -outfile $photo $photo"
  -n "ImageMagick (re-encodes)" "/usr/bin/convert-im6.q16 $photo -rotate 90 $photo"
  -n "libvips (re-encodes)" "vips rot $photo $work/vips.jpg d90"
)
hyperfine -N --warmup 2 --runs "$runs" --prepare "cp $work/source.jpg $photo" \
  --export-json "$work/times.json" "${commands[@]}" >/dev/null
# CPU time says what the turn costs when other programs share the cores; the
# wall time is what the user waits on this machine now.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 - "$work/times.json" <<'PY'
import json, sys
print(f"{'command':42} {'wall median':>12} {'wall min':>9} {'CPU (user+sys)':>15}")
for r in json.load(open(sys.argv[1]))["results"]:
    print(f"{r['command']:42} {r['median']:11.3f}s {r['min']:8.3f}s {r['user'] + r['system']:14.3f}s")
PY
