#!/bin/sh
# Sets up, builds (release) and runs the game on its default data:
#   ./run.sh [options]      (no options: the track "rabbithill")
set -e
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBL_BUILD_TESTS=OFF -DBL_BUILD_BENCH=OFF >/dev/null
cmake --build build/release
cd build/release/game
if [ "$#" -eq 0 ]; then
  exec ./bermline --track rabbithill
fi
exec ./bermline "$@"
