#!/bin/sh
# Sets up, builds every test with the sanitizers on, and runs them all.
#   ./test.sh [ctest arguments]     e.g. ./test.sh -R Scanner
# BL_BUILD_TYPE picks another build type (Debug, Release, Sanitize).
set -e
cd "$(dirname "$0")"
./scripts/install-deps.sh
BUILD_TYPE="${BL_BUILD_TYPE:-Sanitize}"
BUILD_DIR="build/test-$(echo "$BUILD_TYPE" | tr 'A-Z' 'a-z')"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" >/dev/null
cmake --build "$BUILD_DIR"
cd "$BUILD_DIR"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
# Headless tests first, then the ones that need a display under Xvfb.
ctest --output-on-failure -j2 -LE display "$@"
if ctest -N -L display | grep -q "Total Tests: [1-9]"; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -L display "$@"
fi
