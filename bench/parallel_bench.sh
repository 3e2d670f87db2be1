#!/usr/bin/env bash
# Throughput of --jobs=2 over --jobs=1 with --raw-load-as=24, and the peak memory of each (the program and its
# worker processes together): on the sample camera files taken twice, and on synthetic 24-megapixel DNGs made by
# our DNG writer (also with the decoder kept to one thread per file). Aim: at least 1.6x on a 2-core machine. Memory is the largest sum of the proportional set sizes
# (shared pages counted once in all) of every lumivanecmd process, sampled every 50 ms.
# Usage: bench/parallel_bench.sh [samples-folder] [synthetic-count] [rounds] (defaults: ../shared/samples/camera,
# 4, 3); needs a build in build/ (BUILD_DIR overrides). The best of the rounds counts.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${BUILD_DIR:-build}")
samples=$(realpath "${1:-../shared/samples/camera}")
synthetic=${2:-4}
rounds=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -x "$build/lumivanecmd" ] || { echo "build first: scripts/build.sh"; exit 2; }
if pgrep -x lumivanecmd >/dev/null; then echo "another lumivanecmd is running; try again when it has ended"; exit 3; fi

# Largest total PSS in KiB of the lumivanecmd processes while the process $1 runs.
sample_memory() {
  local watched=$1 peak=0 total
  while kill -0 "$watched" 2>/dev/null; do
    total=0
    for pid in $(pgrep -x lumivanecmd); do
      total=$((total + $(awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup" 2>/dev/null || echo 0)))
    done
    [ "$total" -gt "$peak" ] && peak=$total
    sleep 0.05
  done
  echo "$peak"
}

# measure <jobs> <input-folder>: prints "wall-seconds peak-KiB" of one quiet conversion to jpg. $environment
# (an array) goes before the program.
environment=()
measure() {
  rm -rf "$work/out"; mkdir -p "$work/out"
  local start end
  start=$(date +%s.%N)
  env "${environment[@]}" "$build/lumivanecmd" -q -i "$2/" -o "$work/out" -c jpg --raw-load-as=24 --jobs="$1" >/dev/null 2>&1 &
  local program=$!
  local peak
  peak=$(sample_memory "$program")
  local code=0
  wait "$program" || code=$?
  end=$(date +%s.%N)
  [ "$code" != 3 ] || { echo "another lumivanecmd is running; try again when it has ended" >&2; exit 3; }
  awk -v a="$start" -v b="$end" -v p="$peak" 'BEGIN { printf "%.3f %d\n", b - a, p }'
}

compare() {  # compare <what> <input-folder>
  local files results=""
  files=$(find "$2" -type f | wc -l)
  for ((round = 0; round < rounds; ++round)); do
    results+="1 $(measure 1 "$2")"$'\n'
    results+="2 $(measure 2 "$2")"$'\n'
  done
  awk -v w="$1" -v n="$files" -v r="$rounds" '
    NF == 3 { if (!($1 in best) || $2 < best[$1]) best[$1] = $2; if ($3 > peak[$1]) peak[$1] = $3 }
    END {
      printf "%-16s %3d files, best of %d | --jobs=1 %6.2f files/s %7.1f MiB peak | --jobs=2 %6.2f files/s %7.1f MiB peak | speed-up %.2fx\n",
        w, n, r, n / best[1], peak[1] / 1024, n / best[2], peak[2] / 1024, best[1] / best[2] }' <<<"$results"
}

# What two cores can give right now: two busy loops at once against one. On a machine shared with other work the
# speed-up of --jobs=2 cannot exceed this.
spin() { local i=0; while [ $i -lt 200000 ]; do i=$((i + 1)); done; }
start=$(date +%s.%N); spin; middle=$(date +%s.%N); spin & spin & wait; end=$(date +%s.%N)
awk -v a="$start" -v b="$middle" -v c="$end" 'BEGIN {
  printf "%-16s two busy loops at once run %.2fx as fast as one after the other\n", "machine", 2 * (b - a) / (c - b) }'

mkdir -p "$work/samples"
for copy in 1 2; do
  for file in "$samples"/*; do [ -f "$file" ] && cp "$file" "$work/samples/$copy-$(basename "$file")"; done
done
[ "$(find "$work/samples" -type f | wc -l)" -gt 0 ] || { echo "no sample files in $samples"; exit 2; }
compare "samples twice" "$work/samples"

mkdir -p "$work/big"
for n in $(seq 1 "$synthetic"); do "$build/make_sample_dng" "$work/big/big$n.dng" 6000 4000 >/dev/null; done
compare "24 MP DNGs" "$work/big"

# The camera decoder already runs parts of one file on every core (OpenMP), so --jobs=1 is not one core's worth.
# With one decoder thread per file in both runs, the speed-up shows what working on several files at once gives.
environment=(OMP_NUM_THREADS=1)
compare "24 MP, 1 thread" "$work/big"
