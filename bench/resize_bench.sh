#!/usr/bin/env bash
# Resizing a 24-megapixel camera file to 1600 pixels wide with Lanczos: the resize step against the bare
# FreeImage_Rescale call, as a ratio (the step should stay within 1.2 of the call). Not a test.
# Usage: bench/resize_bench.sh [runs]   (BUILD_DIR selects the build, default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
runs=${1:-5}
cmake --build "$build_dir" --target make_sample_dng resize_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build_dir/make_sample_dng" "$work/24mp.dng" 6000 4000 >/dev/null
"$build_dir/resize_bench" "$work/24mp.dng" 1600 "$runs"
