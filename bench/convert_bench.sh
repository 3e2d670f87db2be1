#!/usr/bin/env bash
# Converts the sample camera files to jpg with lumivanecmd (defaults, and --raw-load-as=24) and with a minimal
# FreeImage load-and-save program doing the same work; prints files per second, peak memory and our time over
# the library's. Then the same for one 24-megapixel DNG made by our DNG writer (peak memory: aim at most 2x). Last,
# the metadata step's cost: the default run's CPU time against --metadata=none, over the samples (aim: at most 3%).
# Usage: bench/convert_bench.sh [samples-folder] (default: ../shared/samples/camera); needs a build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
samples=${1:-../shared/samples/camera}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -x "$build/lumivanecmd" ] || { echo "build first: scripts/build.sh"; exit 2; }

# measure <label> <command...>: runs it, prints "label wall-seconds peak-resident-KiB".
measure() {
  local label=$1; shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1 || true
  read -r seconds peak < "$work/time"
  echo "$label $seconds $peak"
}

report() {  # report <what> <files> <ours-line> <baseline-line>
  local what=$1 files=$2 ours_s ours_m base_s base_m
  read -r _ ours_s ours_m <<<"$3"
  read -r _ base_s base_m <<<"$4"
  awk -v w="$what" -v n="$files" -v os="$ours_s" -v om="$ours_m" -v bs="$base_s" -v bm="$base_m" 'BEGIN {
    if (os <= 0) os = 0.001; if (bs <= 0) bs = 0.001; if (bm <= 0) bm = 1
    printf "%-28s lumivanecmd %6.2f files/s %8.1f MiB peak | FreeImage alone %6.2f files/s %8.1f MiB peak | time ratio %.3f, memory ratio %.2f\n",
      w, n / os, om / 1024, n / bs, bm / 1024, os / bs, om / bm }'
}

mkdir -p "$work/in"
find "$samples" -maxdepth 1 -type f -exec cp {} "$work/in/" \;
count=$(find "$work/in" -type f | wc -l)
[ "$count" -gt 0 ] || { echo "no sample files in $samples"; exit 2; }

for variant in "default:1:" "raw-load-as=24:2:--raw-load-as=24"; do
  IFS=: read -r name flags option <<<"$variant"
  rm -rf "$work/ours" "$work/base"; mkdir -p "$work/ours" "$work/base"
  ours=$(measure ours "$build/lumivanecmd" -q -i "$work/in/" -o "$work/ours" -c jpg $option)
  base=$(measure base "$build/freeimage_baseline" "$flags" "$work/base" "$work"/in/*)
  report "samples ($name)" "$count" "$ours" "$base"
done

mkdir -p "$work/big"
"$build/make_sample_dng" "$work/big/big.dng" 6000 4000
rm -rf "$work/ours" "$work/base"; mkdir -p "$work/ours" "$work/base"
ours=$(measure ours "$build/lumivanecmd" -q -i "$work/big/big.dng" -o "$work/ours" -c jpg --raw-load-as=24)
base=$(measure base "$build/freeimage_baseline" 2 "$work/base" "$work/big/big.dng")
report "24 MP DNG (raw-load-as=24)" 1 "$ours" "$base"

# cpu <options...>: CPU seconds (user + system) of a default run over the samples, as the sum of alternating runs.
cpu() {
  rm -rf "$work/ours"; mkdir -p "$work/ours"
  /usr/bin/time -f "%U %S" -o "$work/time" "$build/lumivanecmd" -q -i "$work/in/" -o "$work/ours" -c jpg "$@" \
    >/dev/null 2>&1 || true
  awk '{ print $1 + $2 }' "$work/time"
}
keep=0 none=0
for _ in 1 2 3 4 5; do
  keep=$(awk -v a="$keep" -v b="$(cpu --metadata=keep)" 'BEGIN { print a + b }')
  none=$(awk -v a="$none" -v b="$(cpu --metadata=none)" 'BEGIN { print a + b }')
done
awk -v k="$keep" -v n="$none" -v c="$count" 'BEGIN {
  if (k <= 0) k = 0.001
  printf "%-28s %.2f s CPU with metadata, %.2f s without (5 runs of %d files): the step costs %.1f%% (aim: at most 3%%)\n",
    "metadata step (default run)", k, n, c, (k - n) / k * 100 }'
