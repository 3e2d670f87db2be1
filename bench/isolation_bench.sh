#!/usr/bin/env bash
# What running each file's decoding and encoding in a worker process costs: converts the sample camera files to
# jpg (defaults, and --raw-load-as=24) with workers (the shipped way) and in-process (LUMIVANE_IN_PROCESS=1, a switch
# for benchmarks and tests only), alternating, and prints the best wall time of each and isolated over in-process
# (aim: at most 1.05).
# Usage: bench/isolation_bench.sh [samples-folder] [rounds] (defaults: ../shared/samples/camera, 5); needs build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
samples=${1:-../shared/samples/camera}
rounds=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -x "$build/lumivanecmd" ] || { echo "build first: scripts/build.sh"; exit 2; }

mkdir -p "$work/in"
find "$samples" -maxdepth 1 -type f -exec cp {} "$work/in/" \;
count=$(find "$work/in" -type f | wc -l)
[ "$count" -gt 0 ] || { echo "no sample files in $samples"; exit 2; }

# nanoseconds <in-process 0|1> <options...>: wall time of one conversion of the samples.
nanoseconds() {
  local in_process=$1; shift
  rm -rf "$work/out"; mkdir -p "$work/out"
  local start end
  start=$(date +%s%N)
  if [ "$in_process" = 1 ]; then
    LUMIVANE_IN_PROCESS=1 "$build/lumivanecmd" -q -i "$work/in/" -o "$work/out" -c jpg "$@" >/dev/null || true
  else
    env -u LUMIVANE_IN_PROCESS "$build/lumivanecmd" -q -i "$work/in/" -o "$work/out" -c jpg "$@" >/dev/null || true
  fi
  end=$(date +%s%N)
  echo $((end - start))
}

for variant in "default:" "raw-load-as=24:--raw-load-as=24"; do
  IFS=: read -r name option <<<"$variant"
  best_iso=0; best_own=0
  for ((round = 0; round < rounds; ++round)); do
    t=$(nanoseconds 0 $option)
    if ((best_iso == 0 || t < best_iso)); then best_iso=$t; fi
    t=$(nanoseconds 1 $option)
    if ((best_own == 0 || t < best_own)); then best_own=$t; fi
  done
  awk -v w="$name" -v n="$count" -v iso="$best_iso" -v own="$best_own" 'BEGIN {
    printf "samples (%s), %d files, best of '"$rounds"': isolated %.3f s, in-process %.3f s, ratio %.3f\n",
      w, n, iso / 1e9, own / 1e9, iso / own }'
done
