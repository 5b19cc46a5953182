#!/usr/bin/env bash
# Compares the optimisation batch with ImageMagick and libvips doing the same
# work on the same photo-like camera JPEGs: 12 MP photos to 800 x 600 at
# quality 80, progressive. Prints photos per second, CPU time per photo and
# the ratios, then the peak memory for one 24 MP photo.
#
#   bench/optimize_compare.sh [BUILD_DIR]
#
# BUILD_DIR (default build-bench) is configured with -DLUMATRIM_BENCH=ON when
# it has no benchmark tools yet. Set N12, N24, ROUNDS to change the run size;
# with few photos the ramp-up and the last photo's tail, not throughput, set
# the two-job figure.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
n12=${N12:-16}
n24=${N24:-2}
rounds=${ROUNDS:-3}

# Peers and tools, from Debian, only when missing.
install_missing /usr/bin/convert-im6.q16=imagemagick vipsthumbnail=libvips-tools \
  exiftool=libimage-exiftool-perl /usr/bin/time=time
# The real ImageMagick, whatever else is called convert on PATH.
im=/usr/bin/convert-im6.q16

configure_bench "$build" bench/optimize_floor -DLUMATRIM_TESTS=OFF
targets=(optimize_floor optimize_makephoto optimize_cli)
grep -q 'LUMATRIM_UI:BOOL=ON' "$build/CMakeCache.txt" && targets+=(lumatrim-cli)
cmake --build "$build" --target "${targets[@]}" >/dev/null
tools=$root/$build/bench
if [ -x "$build/app/lumatrim-cli" ]; then
  cli=("$root/$build/app/lumatrim-cli" optimize)
else
  cli=("$tools/optimize_cli")  # the same verb, built without the Qt windows
fi

make_work_dir lumatrim-bench
mkdir -p "$work/p12" "$work/p24" "$work/out"

echo "making $n12 photos of 12 MP and $n24 of 24 MP ..."
bench/make_camera_photos.sh "$tools" "$work/p12" img "$n12" 4000 3000 95 1
bench/make_camera_photos.sh "$tools" "$work/p24" big "$n24" 6000 4000 90 51
size12=$(du -b "$work"/p12/*.jpg | awk '{s += $1} END {printf "%.1f", s / NR / 1e6}')
size24=$(du -b "$work"/p24/*.jpg | awk '{s += $1} END {printf "%.1f", s / NR / 1e6}')
echo "photos: 12 MP ${size12} MB each, 24 MP ${size24} MB each"

photos=("$work"/p12/*.jpg)

# Each method as a command over "${photos[@]}". A virtual machine's cores need
# not be equally fast (the host's other load): the 1-job batch pinned to each
# of the first two cores tells what two jobs can reach at best right now,
# 1 + slower core's speed / faster core's.
opt='$CLI --out "$work/out" --short 600 --long 800 --compression 20'
declare -A command=(
  [floor]='"$tools/optimize_floor" "${photos[@]}"'
  [lumatrim-1job]="$opt"' --jobs 1 "${photos[@]}"'
  [lumatrim-2jobs]="$opt"' --jobs 2 "${photos[@]}"'
  [convert-sample]='for f in "${photos[@]}"; do "$im" "$f" -sample "800x600!" -quality 80 -interlace JPEG "$work/out/${f##*/}"; done'
  [convert-jpegsize]='for f in "${photos[@]}"; do "$im" -define jpeg:size=800x600 "$f" -sample "800x600!" -quality 80 -interlace JPEG "$work/out/${f##*/}"; done'
  [vipsthumbnail]='for f in "${photos[@]}"; do vipsthumbnail "$f" -s "800x600!" -o "$work/out/%s.jpg[Q=80,interlace]"; done'
)
for core in 0 1; do command[core$core]="taskset -c $core ${command[lumatrim-1job]}"; done
order=(floor lumatrim-1job lumatrim-2jobs core0 core1 convert-sample convert-jpegsize vipsthumbnail)
export im work tools CLI="${cli[*]}" PHOTOS="${photos[*]}"

# The methods take turns, round after round, so that a slow spell of the host
# does not fall on one method only; each keeps its best wall time and that
# round's CPU time (user + system, children included).
declare -A wall cpu
for _ in $(seq 1 "$rounds"); do
  for label in "${order[@]}"; do
    rm -rf "$work/out" && mkdir -p "$work/out"
    /usr/bin/time -f '%e %U %S' -o "$work/time" bash -c 'photos=($PHOTOS); '"${command[$label]}" \
      >/dev/null 2>"$work/stderr" || { echo "$label failed:"; cat "$work/stderr"; exit 1; }
    read -r w user sys <"$work/time"
    if [ -z "${wall[$label]:-}" ] || awk -v a="$w" -v b="${wall[$label]}" 'BEGIN {exit !(a < b)}'; then
      wall[$label]=$w
      cpu[$label]=$(awk -v u="$user" -v s="$sys" 'BEGIN {print u + s}')
    fi
  done
done

echo
echo "12 MP -> 800 x 600, quality 80 progressive; $n12 photos, best of $rounds rounds"
printf '%-18s %10s %12s %14s\n' method photos/s "wall ms/ph" "cpu ms/photo"
for label in "${order[@]}"; do
  awk -v l="$label" -v w="${wall[$label]}" -v c="${cpu[$label]}" -v n="$n12" \
    'BEGIN {printf "%-18s %10.2f %12.1f %14.1f\n", l, n / w, 1000 * w / n, 1000 * c / n}'
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
echo
echo "lumatrim 1 job per photo vs full-decode floor (cpu):  $(ratio "${cpu[lumatrim-1job]}" "${cpu[floor]}") x   (wall $(ratio "${wall[lumatrim-1job]}" "${wall[floor]}") x)"
echo "throughput lumatrim 1 job vs convert -sample:          $(ratio "${wall[convert-sample]}" "${wall[lumatrim-1job]}") x   (cpu $(ratio "${cpu[convert-sample]}" "${cpu[lumatrim-1job]}") x)"
echo "throughput lumatrim 1 job vs convert jpeg:size:        $(ratio "${wall[convert-jpegsize]}" "${wall[lumatrim-1job]}") x   (cpu $(ratio "${cpu[convert-jpegsize]}" "${cpu[lumatrim-1job]}") x)"
echo "throughput lumatrim 1 job vs vipsthumbnail:            $(ratio "${wall[vipsthumbnail]}" "${wall[lumatrim-1job]}") x   (cpu $(ratio "${cpu[vipsthumbnail]}" "${cpu[lumatrim-1job]}") x)"
echo "throughput lumatrim 2 jobs vs 1 job:                   $(ratio "${wall[lumatrim-1job]}" "${wall[lumatrim-2jobs]}") x"
echo "  best two cores can do now (1 job pinned to core 0: $(ratio "${wall[core0]}" 1) s, core 1: $(ratio "${wall[core1]}" 1) s): \
$(awk -v a="${wall[core0]}" -v b="${wall[core1]}" 'BEGIN {printf "%.2f", a < b ? 1 + a / b : 1 + b / a}') x"
echo "(load average now: $(cut -d' ' -f1-3 /proc/loadavg); wall-clock ratios need an idle machine)"

echo
big=("$work"/p24/*.jpg)
rm -rf "$work/out" && mkdir -p "$work/out"
/usr/bin/time -f '%M' -o "$work/mem" "${cli[@]}" --out "$work/out" --short 600 --long 800 --jobs 1 "${big[0]}" 2>/dev/null
echo "peak memory, one 24 MP photo, 1 job:  lumatrim $(($(cat "$work/mem") / 1024)) MB"
/usr/bin/time -f '%M' -o "$work/mem" "$im" "${big[0]}" -sample '800x600!' -quality 80 -interlace JPEG "$work/out/im.jpg"
echo "                                      convert -sample $(($(cat "$work/mem") / 1024)) MB"
/usr/bin/time -f '%M' -o "$work/mem" vipsthumbnail "${big[0]}" -s '800x600!' -o "$work/out/%s.jpg[Q=80,interlace]"
echo "                                      vipsthumbnail $(($(cat "$work/mem") / 1024)) MB"
