#!/usr/bin/env bash
# The soak, run by hand (a few minutes): 2,000 snapshots (or SHOTS) in one run of
# the benchmark program of the Linux edition (or, with --windows, of the Windows
# program under Wine), Regular and Small Size alternating, the viewer showing a
# new frame before every shot. Every file is checked pixel for pixel against the
# viewer's picture when saved and again at the end (all present, distinct,
# numbered in order, none overwritten); memory and what the process holds of
# the window system are printed before, after 1,000 and at the end.
#   tools/soak.sh [--windows] [SHOTS]
set -euo pipefail
cd "$(dirname "$0")/.."
editions=linux
if [ "${1:-}" = --windows ]; then editions=windows; shift; fi
source tools/bench-build.sh
python3 tools/bench.py "${build_args[@]}" --soak ${1:+--shots "$1"}
