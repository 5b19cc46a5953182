#!/usr/bin/env bash
# Makes the sample photos into samples/ with the program's own generator.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
mkdir -p samples
if "$dir/app/lumatrim-cli" help 2>/dev/null | grep -q make-samples; then
  "$dir/app/lumatrim-cli" make-samples samples
fi
