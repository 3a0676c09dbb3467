#!/usr/bin/env bash
# One snapshot of the camera rectangle to a file: this program (real clicks)
# beside maim, scrot, ImageMagick's import and xwd | convert on one private
# desktop, with start-up time, size and peak memory. SHOTS per tool (default 100).
#   tools/compare_peers.sh [SHOTS]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/bench-build.sh
python3 tools/compare_peers.py "$win_build" "$wine" ${1:+--shots "$1"}
