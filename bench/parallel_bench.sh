#!/usr/bin/env bash
# Throughput of --jobs=2 over --jobs=1 with --raw-load-as=24, and peak memory of both: on the sample camera files
# taken twice, and on synthetic 24-megapixel DNGs made by our DNG writer. Aim: at least 1.6x on a 2-core machine.
# Usage: bench/parallel_bench.sh [samples-folder] [synthetic-count] (defaults: ../shared/samples/camera, 4);
# needs a build in build/ (BUILD_DIR overrides).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
samples=${1:-../shared/samples/camera}
synthetic=${2:-4}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -x "$build/lumivanecmd" ] || { echo "build first: scripts/build.sh"; exit 2; }

# measure <jobs> <input-folder>: prints "wall-seconds peak-resident-KiB" of one quiet conversion to jpg.
measure() {
  rm -rf "$work/out"; mkdir -p "$work/out"
  /usr/bin/time -f "%e %M %x" -o "$work/time" \
    "$build/lumivanecmd" -q -i "$2/" -o "$work/out" -c jpg --raw-load-as=24 --jobs="$1" >/dev/null 2>&1 || true
  # The last line holds the figures; a non-zero exit adds a line before it.
  read -r seconds peak code < <(tail -n 1 "$work/time")
  # Exit code 3: another copy of the program was running, so nothing was measured.
  [ "$code" != 3 ] || { echo "another lumivanecmd is running; try again when it has ended" >&2; exit 3; }
  echo "$seconds $peak"
}

compare() {  # compare <what> <input-folder>
  local files one two
  files=$(find "$2" -type f | wc -l)
  one=$(measure 1 "$2") || exit 3
  two=$(measure 2 "$2") || exit 3
  awk -v w="$1" -v n="$files" -v one="$one" -v two="$two" 'BEGIN {
    split(one, a, " "); split(two, b, " "); if (a[1] <= 0) a[1] = 0.001; if (b[1] <= 0) b[1] = 0.001
    printf "%-30s %3d files | --jobs=1 %6.2f files/s %8.1f MiB peak | --jobs=2 %6.2f files/s %8.1f MiB peak | speed-up %.2fx\n",
      w, n, n / a[1], a[2] / 1024, n / b[1], b[2] / 1024, a[1] / b[1] }'
}

# What two cores can give right now: two busy loops at once against one. On a machine shared with other work the
# speed-up of --jobs=2 cannot exceed this.
spin() { local i=0; while [ $i -lt 200000 ]; do i=$((i + 1)); done; }
start=$(date +%s.%N); spin; middle=$(date +%s.%N); spin & spin & wait; end=$(date +%s.%N)
awk -v a="$start" -v b="$middle" -v c="$end" 'BEGIN {
  printf "%-30s two busy loops at once run %.2fx as fast as one after the other\n", "machine", 2 * (b - a) / (c - b) }'

mkdir -p "$work/samples"
for copy in 1 2; do
  for file in "$samples"/*; do [ -f "$file" ] && cp "$file" "$work/samples/$copy-$(basename "$file")"; done
done
[ "$(find "$work/samples" -type f | wc -l)" -gt 0 ] || { echo "no sample files in $samples"; exit 2; }
compare "samples twice" "$work/samples"

mkdir -p "$work/big"
for n in $(seq 1 "$synthetic"); do "$build/make_sample_dng" "$work/big/big$n.dng" 6000 4000; done
compare "24 MP DNGs" "$work/big"
