#!/usr/bin/env bash
# First run on a fresh Debian machine: install what is needed, build, and convert a bundled sample input.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
# The sample input is a camera RAW (DNG) file that our own tool writes; it is made anew, never stored.
sample="$PWD/build/sample"
rm -rf "$sample" && mkdir -p "$sample/converted"
build/make_sample_dng "$sample/sample.dng"
build/lumivanecmd -i "$sample/sample.dng" -o "$sample/converted" -c jpg --width=800 --height=800 --keep-aspect-ratio -d
echo "Converted: $(ls "$sample/converted")  (in build/sample/converted/)"
