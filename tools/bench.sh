#!/usr/bin/env bash
# Reproduces the snapshot benchmark's figures in one command: installs what is
# missing, builds the Linux edition (or, with --windows, the Windows preset this
# machine's Wine can run) and times 1,000 snapshots (or SHOTS) on a private
# display, with the program's window away from the viewer's camera rectangle
# and over it.
#   tools/bench.sh [--windows] [SHOTS]
set -euo pipefail
cd "$(dirname "$0")/.."
editions=linux
if [ "${1:-}" = --windows ]; then editions=windows; shift; fi
source tools/bench-build.sh
python3 tools/bench.py "${build_args[@]}" ${1:+--shots "$1"}
