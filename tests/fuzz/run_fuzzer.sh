#!/usr/bin/env bash
# Builds the fuzzer of what the Linux edition reads from other programs with
# clang's libFuzzer and the address and undefined-behaviour sanitizers, then runs it
# from the committed seeds for a while. New inputs it finds go to the build folder,
# never into the seeds.
#
#   run_fuzzer.sh CLANGXX SOURCE_DIR BUILD_DIR SECONDS
set -euo pipefail
clangxx=$1 source_dir=$2 build_dir=$3 seconds=$4

mkdir -p "$build_dir/found"
"$clangxx" -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I "$source_dir" \
  "$source_dir/tests/fuzz/foreign_input_fuzzer.cpp" \
  "$source_dir/capture/GrabArea.cpp" "$source_dir/capture/PixelFormat.cpp" "$source_dir/capture/Text.cpp" \
  "$source_dir/capture/WindowFrame.cpp" "$source_dir/capture/WindowName.cpp" \
  "$source_dir/window/ShellFolders.cpp" \
  -o "$build_dir/foreign_input_fuzzer"

# The first folder receives what the run finds; the seeds are only read.
"$build_dir/foreign_input_fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$build_dir/" "$build_dir/found" "$source_dir/tests/fuzz/corpus"
