#!/usr/bin/env bash
# Throughput of --jobs=2 over --jobs=1 with --raw-load-as=24, and the peak memory of each (the program and its
# worker processes together): on the sample camera files taken twice, and on synthetic 24-megapixel DNGs made by
# our DNG writer (also with the decoder kept to one thread per file). Aim: at least 1.6x on a 2-core machine. Memory is the largest sum of the proportional set sizes
# (shared pages counted once in all) of every lumivanecmd process, sampled every 50 ms.
# Then what the worker processes cost: the start of a fresh worker (one small file converted with a worker and
# in-process; 24 small files start one worker, not 24), and how close --jobs=0 comes to the machine's limit over
# the camera and odd samples taken twice: the limit is the processor time of the same batch run serially
# (--jobs=1, one decoder thread) divided by the cores. Aim: 90% or more.
# Usage: bench/parallel_bench.sh [samples-folder] [synthetic-count] [rounds] (defaults: ../shared/samples/camera,
# 4, 3; the odd samples are taken from the folder beside it); needs a build in build/ (BUILD_DIR overrides). The
# best of the rounds counts. Run as root, each run gets a network namespace of its own (unshare -n), so that the
# single-instance guard of another user's run cannot stop it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${BUILD_DIR:-build}")
samples=$(realpath "${1:-../shared/samples/camera}")
synthetic=${2:-4}
rounds=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -x "$build/lumivanecmd" ] || { echo "build first: scripts/build.sh"; exit 2; }
program=("$build/lumivanecmd")
if [ "$(id -u)" = 0 ] && unshare -n true 2>/dev/null; then
  program=(unshare -n "$build/lumivanecmd")
elif pgrep -x lumivanecmd >/dev/null; then
  echo "another lumivanecmd is running; try again when it has ended"; exit 3
fi
cores=$(nproc)

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
  env "${environment[@]}" "${program[@]}" -q -i "$2/" -o "$work/out" -c jpg --raw-load-as=24 --jobs="$1" >/dev/null 2>&1 &
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

# timed <output-line-file> <environment...> -- <options...>: one quiet conversion of $input to jpg; appends
# "wall-seconds processor-seconds workers-started" (processor time of the program and its workers).
timed() {
  local into=$1; shift
  local settings=()
  while [ "$1" != -- ]; do settings+=("$1"); shift; done; shift
  rm -rf "$work/out"; mkdir -p "$work/out"
  env "${settings[@]}" /usr/bin/time -f "%e %U %S" -o "$work/time" \
    "${program[@]}" -q -i "$input/" -o "$work/out" -c jpg --report="$work/report.jsonl" "$@" >/dev/null || true
  local workers
  workers=$(grep -o '"workers_started":[0-9]*' "$work/report.jsonl" | cut -d: -f2)
  # The last line: time puts "Command exited with non-zero status" before it when a file failed.
  awk -v w="${workers:-0}" 'END { printf "%.3f %.3f %d\n", $1, $2 + $3, w }' "$work/time" >>"$into"
}

best() { sort -n -k"$2" "$1" | head -1; }  # best <file> <column>: the line with the least of that column

mkdir -p "$work/small"
for n in $(seq 1 24); do "$build/make_sample_dng" "$work/small/s$n.dng" 64 48 >/dev/null; done
mkdir -p "$work/one" && cp "$work/small/s1.dng" "$work/one/"
for set in one small; do
  input="$work/$set"
  : >"$work/$set-iso"; : >"$work/$set-own"
  for ((round = 0; round < rounds; ++round)); do
    timed "$work/$set-iso" LUMIVANE_IN_PROCESS=0 -- --jobs=1
    timed "$work/$set-own" LUMIVANE_IN_PROCESS=1 -- --jobs=1
  done
done
read -r one_iso _ one_workers < <(best "$work/one-iso" 1)
read -r one_own _ _ < <(best "$work/one-own" 1)
read -r small_iso _ small_workers < <(best "$work/small-iso" 1)
read -r small_own _ _ < <(best "$work/small-own" 1)
awk -v a="$one_iso" -v b="$one_own" -v wa="$one_workers" -v c="$small_iso" -v d="$small_own" -v wc="$small_workers" 'BEGIN {
  printf "%-16s %.0f ms per fresh worker (1 file: %d started) | 24 files: %d started, %.0f ms over in-process in all\n",
    "worker start", (a - b) * 1000, wa, wc, (c - d) * 1000 }'

mkdir -p "$work/mixed"
for copy in 1 2; do
  for file in "$samples"/* "$(dirname "$samples")/odd"/*; do [ -f "$file" ] && cp "$file" "$work/mixed/$copy-$(basename "$file")"; done
done
input="$work/mixed"
: >"$work/serial"; : >"$work/all"
for ((round = 0; round < rounds; ++round)); do
  timed "$work/serial" OMP_NUM_THREADS=1 -- --raw-load-as=24 --jobs=1
  timed "$work/all" LUMIVANE_IN_PROCESS=0 -- --raw-load-as=24 --jobs=0
done
read -r _ serial_cpu _ < <(best "$work/serial" 2)
read -r all_wall all_cpu all_workers < <(best "$work/all" 1)
awk -v n="$(find "$work/mixed" -type f | wc -l)" -v cpu="$serial_cpu" -v cores="$cores" -v wall="$all_wall" -v w="$all_workers" -v allcpu="$all_cpu" 'BEGIN {
  limit = cpu / cores
  printf "%-16s %3d files, best of rounds | serial %.2f s cpu / %d cores = limit %.2f s | --jobs=0 %.2f s wall, %.2f s cpu, %d workers | %.0f%% of the limit\n",
    "--jobs=0", n, cpu, cores, limit, wall, allcpu, w, 100 * limit / wall }'
