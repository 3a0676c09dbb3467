#!/usr/bin/env bash
# The one command that checks everything: installs what is missing, builds the
# native, win32, win64 and linux presets, picks the Windows build this machine's
# Wine can run, and runs the unit and end-to-end tests of both editions with CTest.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

jobs=2  # the machine's cores are shared with others
for preset in win32 win64; do
  # Configured afresh (a fraction of a second), so that a change of the cross
  # compiler in cmake/ reaches build directories made before it.
  cmake --preset "$preset" --fresh >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
# The Windows download, which the release tests check.
cmake --build --preset win32 -j "$jobs" --target package

# 32-bit Wine needs a kernel that runs 32-bit code; without it the 64-bit build
# of the same sources stands in.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  win_build=build/win32 wine=/usr/lib/wine/wine
else
  win_build=build/win64 wine=/usr/lib/wine/wine64
fi
echo "End-to-end tests run $win_build with $wine"

# The executable, download and reproducibility tests always check the 32-bit
# build, which is the one that ships.
cmake --preset native \
  -DSKELLIMOR_WIN_BUILD="$PWD/$win_build" \
  -DSKELLIMOR_WINE="$wine" \
  -DSKELLIMOR_WIN32_BUILD="$PWD/build/win32" >/dev/null
cmake --build --preset native -j "$jobs"

# The Linux edition, its package and its tests.
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$jobs"
cmake --build --preset linux -j "$jobs" --target package

status=0
summaries=()
for preset in native linux; do
  log=build/$preset/ctest-output.txt
  ctest --test-dir "build/$preset" --output-on-failure 2>&1 | tee "$log" || status=$?
  summaries+=("$preset: $(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1 || echo 'CTest gave no summary')")
done
# CTest prints its summary before the list of failures; repeat them last.
printf '%s\n' "${summaries[@]}"
grep -q "no summary" <<<"${summaries[*]}" && status=1
exit "$status"
