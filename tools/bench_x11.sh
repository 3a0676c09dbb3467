#!/usr/bin/env bash
# Times the Linux edition's X11 lookup, placement and grab in one command: builds
# the sample viewer and the benchmark of the linux preset, starts a private display
# with openbox and six sample viewers, and times 1,000 calls (or $1) of each on the
# last one opened.
#   tools/bench_x11.sh [REPEATS]
# SKELLIMOR_LINUX_BUILD names another build directory of the linux preset.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

build=${SKELLIMOR_LINUX_BUILD:-build/linux}
cmake --preset linux -B "$build" >/dev/null
cmake --build "$build" -j 2 --target webcam_viewer capture_bench

repeats=${1:-1000}
exec tests/x11/with_display.sh bash -c '
  viewer=$1 bench=$2 repeats=$3
  for id in anna ben carla dmitri eve; do "$viewer" "$id" & done
  "$viewer" bench --at 200 150 &
  for _ in $(seq 100); do "$bench" "Webcam for bench" 1 >/dev/null 2>&1 && break; sleep 0.05; done
  sleep 0.5  # every viewer painted
  "$bench" "Webcam for bench" "$repeats"
  kill $(jobs -p)
' bench "$build/tools/webcam_viewer" "$build/tools/capture_bench" "$repeats"
