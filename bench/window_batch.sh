#!/usr/bin/env bash
# The optimisation batch started from the windows against `lumatrim-cli
# optimize` on the same photo-like 12 MP camera JPEGs (default 50), both to
# 800 x 600 at compression 20 with the default number of workers. Prints each
# one's throughput and their ratio (target: the window within 10 % of the
# command line), then how the windows behaved during the window's batch: the
# gauge's steps, the event loop's longest stall, the repaints.
#
#   bench/window_batch.sh [BUILD_DIR]      N (photos), ROUNDS (best of)
#
# Runs under Xvfb when xvfb-run is there (as a user's display would), else on
# Qt's offscreen platform.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
n=${N:-50}
rounds=${ROUNDS:-3}

install_missing exiftool=libimage-exiftool-perl
configure_bench "$build" bench/optimize_makephoto -DLUMATRIM_TESTS=OFF
cmake --build "$build" --target window_batch_bench optimize_makephoto lumatrim-cli >/dev/null
tools=$root/$build/bench
cli=$root/$build/app/lumatrim-cli

make_work_dir lumatrim-window-bench
use_runtime_dir
echo "making $n photos of 12 MP ..."
bench/make_camera_photos.sh "$tools" "$work/photos" foto "$n" 4000 3000 95 1

best_window=999999 best_cli=999999
for round in $(seq 1 "$rounds"); do
  rm -rf "$work/out-window" "$work/out-cli" && mkdir -p "$work/out-window" "$work/out-cli"
  on_display 1280x1024 "$tools/window_batch_bench" "$work/photos" "$work/out-window" >"$work/report"
  window=$(awk '/^window_seconds/ {print $2}' "$work/report")
  if awk -v a="$window" -v b="$best_window" 'BEGIN {exit !(a < b)}'; then
    best_window=$window
    cp "$work/report" "$work/best-report"
  fi

  start=$(date +%s.%N)
  "$cli" optimize --out "$work/out-cli" --short 600 --long 800 --compression 20 "$work"/photos/*.jpg >/dev/null 2>&1
  cli_seconds=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN {printf "%.3f", e - s}')
  awk -v a="$cli_seconds" -v b="$best_cli" 'BEGIN {exit !(a < b)}' && best_cli=$cli_seconds
  echo "round $round: window $window s, command line $cli_seconds s"
done
[ "$(ls "$work/out-window" | wc -l)" -eq "$n" ] && [ "$(ls "$work/out-cli" | wc -l)" -eq "$n" ] ||
  { echo "not every photo was written"; exit 1; }

echo
echo "$n photos, 12 MP -> 800 x 600, compression 20, best of $rounds rounds ($(nproc) cores)"
awk -v w="$best_window" -v c="$best_cli" -v n="$n" 'BEGIN {
  printf "window:        %.2f s, %.2f photos/s\n", w, n / w
  printf "command line:  %.2f s, %.2f photos/s (process start included)\n", c, n / c
  printf "window throughput / command line: %.3f\n", c / w }'
echo
echo "during the window's fastest batch:"
grep -v '^window' "$work/best-report"
echo "(load average now: $(cut -d' ' -f1-3 /proc/loadavg))"
