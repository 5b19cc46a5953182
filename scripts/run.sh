#!/usr/bin/env bash
# Installs what is missing, builds, makes the sample photos and starts Lumatrim on them.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build
./scripts/make-samples.sh build
cd samples && exec ../build/app/lumatrim "$@"
