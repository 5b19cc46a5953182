#!/usr/bin/env bash
# Runs two builds of lumatrim-cli over the same photos and reports every output
# that differs: info (text and JSON), strip, iptc, rotate and optimize. Used to
# show that a restructuring changed no behaviour.
#   tools/compare-cli-outputs.sh OLD_CLI NEW_CLI [PHOTO_DIR]
set -uo pipefail
old=$(realpath "$1"); new=$(realpath "$2")
photos=${3:-$(dirname "$0")/../../shared/corpus/photos}
photos=$(realpath "$photos")
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
differences=0; checks=0

same() {  # same LABEL A B
  checks=$((checks + 1))
  if ! cmp -s "$2" "$3"; then echo "DIFFERS: $1"; differences=$((differences + 1)); fi
}

# One verb on fresh copies of every photo, for both builds; compares the
# printed text, the exit status and every file left behind.
run_verb() {  # run_verb LABEL ARGS... (FILE stands for each photo)
  local label=$1; shift
  for build in old new; do
    local cli=${!build} dir="$work/$build/$label"
    mkdir -p "$dir/in" "$dir/out"
    cp "$photos"/* "$dir/in/"
    chmod u+w "$dir"/in/*  # a read-only corpus gives read-only copies, which are not written in place
    for f in "$dir"/in/*; do
      local args=()
      for a in "$@"; do
        case $a in
          FILE) args+=("$f") ;;
          OUT) args+=("$dir/out") ;;
          *) args+=("$a") ;;
        esac
      done
      (cd "$dir" && "$cli" "${args[@]}" >>"$dir/stdout" 2>&1; echo "$(basename "$f") rc=$?" >>"$dir/stdout")
    done
    sed -i "s#$dir#DIR#g" "$dir/stdout"
  done
  same "$label: printed text" "$work/old/$label/stdout" "$work/new/$label/stdout"
  for f in "$work/old/$label"/in/* "$work/old/$label"/out/*; do
    [ -e "$f" ] || continue
    local rel=${f#"$work/old/$label/"}
    same "$label: $rel" "$f" "$work/new/$label/$rel"
  done
  for f in "$work/new/$label"/out/*; do
    [ -e "$f" ] || continue
    [ -e "$work/old/$label/${f#"$work/new/$label/"}" ] || { echo "DIFFERS: $label: only new wrote ${f##*/}"; differences=$((differences + 1)); }
  done
}

run_verb info info FILE
run_verb info-json info --json FILE
run_verb strip-exif strip exif FILE
run_verb strip-iptc strip iptc FILE
run_verb iptc-city iptc FILE City=Brno
run_verb rotate-left rotate left FILE
run_verb rotate-right rotate right FILE
run_verb optimize optimize --out OUT --compression 20 --short 600 FILE
echo "$checks comparisons, $differences differences"
[ "$differences" -eq 0 ]
