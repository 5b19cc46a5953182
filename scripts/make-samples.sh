#!/usr/bin/env bash
# Makes the sample photos into samples/ with the program's own generator.
#   scripts/make-samples.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
mkdir -p samples
"$dir/tools/samples/lumatrim-samples" samples
