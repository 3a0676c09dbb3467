# Sourced by the benchmark scripts: installs what is missing and builds the
# Windows preset that this machine's Wine can start; sets win_build and wine.
bash tools/install-deps.sh
# 32-bit Wine needs a kernel that runs 32-bit code; without it the 64-bit build
# of the same sources stands in.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  preset=win32 wine=/usr/lib/wine/wine
else
  preset=win64 wine=/usr/lib/wine/wine64
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j 2 >/dev/null
win_build="$PWD/build/$preset"
echo "Benchmarking the $preset build with $wine"
