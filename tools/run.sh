#!/usr/bin/env bash
# Installs what is missing, builds the program and the sample viewer, and runs
# both: the viewer with the ID "demo" and the program beside it. The Linux/X11
# edition by default; with --windows the Windows program under Wine. Without a
# $DISPLAY it uses a private virtual one, takes one snapshot through the
# program's window (New Cam, "demo", the smiley) and says where the saved
# picture and a screenshot of the screen are.
#   tools/run.sh [--windows]
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

if [ "${1:-}" != "--windows" ]; then
  cmake --preset linux >/dev/null
  cmake --build --preset linux -j 2 --target morvaths-skellimor webcam_viewer
  build="$PWD/build/linux"
  if [ -z "${DISPLAY:-}" ]; then
    SKELLIMOR_LINUX_BUILD="$build" PYTHONPATH="$PWD/tests/e2e:$PWD/tests/e2e/linux" python3 tests/e2e/demo.py "$PWD/build/demo"
    exit 0
  fi
  "$build/tools/webcam_viewer" demo --at 20 20 &
  viewer=$!
  trap 'kill "$viewer" 2>/dev/null || true' EXIT
  echo "The viewer \"Webcam for demo\" is open: press New Cam, type demo, click the smiley."
  "$build/window/morvaths-skellimor"
  exit 0
fi

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  preset=win32 wine=/usr/lib/wine/wine
else
  preset=win64 wine=/usr/lib/wine/wine64
fi
echo "Running the $preset build with $wine"
cmake --preset "$preset" --fresh >/dev/null
cmake --build --preset "$preset" -j 2
win_build="$PWD/build/$preset"

if [ -z "${DISPLAY:-}" ]; then
  SKELLIMOR_WIN_BUILD="$win_build" SKELLIMOR_WINE="$wine" python3 tests/e2e/demo.py "$PWD/build/demo"
  exit 0
fi

export WINEDEBUG=-all
"$wine" "$win_build/tools/webcam_viewer.exe" demo --at 20 20 &
viewer=$!
trap 'kill "$viewer" 2>/dev/null || true' EXIT
echo "The viewer \"Webcam for demo\" is open: press New Cam, type demo, click the smiley."
"$wine" "$win_build/window/Morvath's Skellimor.exe"
