# Sourced by the benchmark scripts after they have set `editions` (linux,
# windows or both): installs what is missing, builds what those editions'
# benchmarks run, and sets build_args, the arguments naming the builds to
# tools/bench.py and tools/compare_peers.py.
# SKELLIMOR_LINUX_BUILD and SKELLIMOR_WIN_BUILD name other build directories.
bash tools/install-deps.sh
build_args=()
if [[ " $editions " == *" linux "* ]]; then
  linux_build=${SKELLIMOR_LINUX_BUILD:-build/linux}
  cmake --preset linux -B "$linux_build" >/dev/null
  cmake --build "$linux_build" -j 2 --target morvaths-skellimor webcam_viewer snapshot_bench >/dev/null
  echo "Benchmarking the linux build in $linux_build"
  build_args+=(--linux-build "$linux_build")
fi
if [[ " $editions " == *" windows "* ]]; then
  # 32-bit Wine needs a kernel that runs 32-bit code; without it the 64-bit build
  # of the same sources stands in.
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    preset=win32 wine=/usr/lib/wine/wine
  else
    preset=win64 wine=/usr/lib/wine/wine64
  fi
  win_build=${SKELLIMOR_WIN_BUILD:-build/$preset}
  cmake --preset "$preset" -B "$win_build" >/dev/null
  cmake --build "$win_build" -j 2 >/dev/null
  echo "Benchmarking the $preset build in $win_build with $wine"
  build_args+=(--win-build "$win_build" --wine "$wine")
fi
