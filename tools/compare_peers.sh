#!/usr/bin/env bash
# One snapshot of the camera rectangle to a file: the Linux edition and the
# Windows program under Wine (real clicks) beside scrot, maim, ImageMagick's
# import and xwd | convert on one private display in one run, with start-up
# time, size and peak memory. SHOTS per tool (default 100).
#   tools/compare_peers.sh [SHOTS]
set -euo pipefail
cd "$(dirname "$0")/.."
editions="linux windows"
source tools/bench-build.sh
python3 tools/compare_peers.py "${build_args[@]}" ${1:+--shots "$1"}
