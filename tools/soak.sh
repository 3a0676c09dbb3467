#!/usr/bin/env bash
# The soak, run by hand (about 3 minutes): 2,000 snapshots (or $1) in one run
# of the benchmark program, Regular and Small Size alternating, the viewer
# showing a new frame before every shot. Every file is checked pixel for pixel
# against the viewer's picture when saved and again at the end (all present,
# distinct, numbered in order, none overwritten); object counts and memory are
# printed before, after 1,000 and at the end.
#   tools/soak.sh [SHOTS]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/bench-build.sh
python3 tools/bench.py "$win_build" "$wine" --soak ${1:+--shots "$1"}
