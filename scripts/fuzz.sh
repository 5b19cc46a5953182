#!/usr/bin/env bash
# Runs the libFuzzer targets of fuzz/.
#   scripts/fuzz.sh --smoke            each target a few seconds (CI)
#   scripts/fuzz.sh --time N [T...]    each target (or the named ones) N seconds
# Builds build-fuzz with clang when needed; skips with a message when clang or
# libFuzzer is missing. Each target keeps its corpus in fuzz/corpus/<target>/
# (not committed); new crash inputs stay in build-fuzz/fuzz-crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

mode=${1:---smoke}
seconds=4
seed=()
case "$mode" in
  # The smoke run checks the known inputs and a short, repeatable walk from
  # them (a fixed seed), so a test run does not fail on the luck of the draw;
  # the timed runs explore freely.
  --smoke) shift || true; seed=(-seed=1) ;;
  --time) seconds=${2:?usage: scripts/fuzz.sh --time SECONDS [TARGET...]}; shift 2 ;;
  *) echo "usage: scripts/fuzz.sh --smoke | --time SECONDS [TARGET...]" >&2; exit 2 ;;
esac

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed; skipping the fuzz targets"
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' >"$probe/p.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
  echo "fuzz: clang has no libFuzzer runtime (libclang-rt-dev); skipping the fuzz targets"
  exit 0
fi

build=build-fuzz
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMATRIM_FUZZ=ON -DLUMATRIM_UI=OFF -DLUMATRIM_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target lumatrim_fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_read_jpeg fuzz_read_tiff fuzz_makernote fuzz_iptc_app13 fuzz_comma_lists fuzz_jpeg_decode
           fuzz_rewrite_photo fuzz_exif_upright fuzz_heif_metadata fuzz_xmp)
fi

seeds="$probe/seeds"
"$build/fuzz/lumatrim_fuzz_seeds" "$seeds" >/dev/null
crashes="$root/$build/fuzz-crashes"
mkdir -p "$crashes"

failed=0
for t in "${targets[@]}"; do
  corpus="fuzz/corpus/$t"
  mkdir -p "$corpus"
  dirs=("$corpus" "$seeds/$t")
  # Known crash inputs run first, so a regression shows at once.
  [ -d "fuzz/regressions/$t" ] && dirs+=("fuzz/regressions/$t")
  log="$build/fuzz-$t-${seconds}s.log"
  echo "== $t (${seconds}s)"
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      "$build/fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len=65536 "${seed[@]}" \
      -print_final_stats=1 -dict=fuzz/photo.dict -artifact_prefix="$crashes/$t-" "${dirs[@]}" >"$log" 2>&1; then
    grep -aE '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true
    grep -aE 'stat::number_of_executed_units|stat::average_exec_per_sec' "$log" || true
  else
    echo "fuzz: $t FAILED, see $log"
    grep -aE 'ERROR|SUMMARY|violated|Test unit written' "$log" | head -10 || true
    failed=1
  fi
done
exit $failed
