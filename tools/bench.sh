#!/usr/bin/env bash
# Reproduces the snapshot benchmark's figures in one command: installs what is
# missing, builds the Windows preset this machine's Wine can run and times 1,000
# snapshots (or $1) on a private desktop, with the program's window away from
# the viewer's camera rectangle and over it.
#   tools/bench.sh [SHOTS]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/bench-build.sh
python3 tools/bench.py "$win_build" "$wine" ${1:+--shots "$1"}
