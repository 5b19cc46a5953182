#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the full build (core,
# windows offscreen, command-line tool) and its Debian package, the core again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of
# each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --test
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== full build and tests"
# The same optimisation as a normal build, without debug information: the
# test run needs no debugger, and the build is its longest step. Compiled in
# batches of files (half the time on two cores); the sanitizer build below
# compiles the core, the command line and the tests file by file, so one that
# misses an include still fails there.
./scripts/build.sh build -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_UNITY_BUILD=ON
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300

echo "== Debian package (cpack, dpkg-deb --contents, lintian)"
./scripts/check-package.sh build

echo "== core under AddressSanitizer and UndefinedBehaviorSanitizer"
./scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DLUMATRIM_UI=OFF -DLUMATRIM_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 600

if [ -x scripts/fuzz.sh ]; then
  echo "== fuzz smoke"
  ./scripts/fuzz.sh --smoke
fi
echo "== all tests passed"
