#!/usr/bin/env bash
# --raw-load-as=FIT against --raw-load-as=24 where FIT is meant for: web-size pictures (--width=1600 --height=1600
# --keep-aspect-ratio, jpg, --jobs=1) from copies of a 24-megapixel DNG that holds a real picture (made by
# tools/make_detailed_dng from a camera file: enlarged, so that it has detail, and laid out again as a sensor
# mosaic by our DNG writer). Prints files per second, peak memory and the PSNR between the two results. Aims: FIT
# at least 3x the files per second of 24, at most half its peak memory, and at least 40 dB.
# Peak memory: the sum of the high-water marks (VmHWM) of the program and of each of its worker processes, read
# every 50 ms while they run (a high-water mark only grows, so a reading misses at most the last 50 ms of a
# process); pages shared after the fork count in each process, for both modes alike. PSNR: ImageMagick's compare
# on PNG outputs of one copy (jpg outputs would add two encoders' differences).
# Usage: bench/fit_bench.sh [camera-file] [copies] [rounds] (defaults:
# ../shared/samples/camera/Canon_PowerShot-S40_CRW_0119.CRW, 4, 2); needs a build in build/ (BUILD_DIR overrides)
# and ImageMagick. The best round counts; the load average before the first run is printed with the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${BUILD_DIR:-build}")
camera=$(realpath "${1:-../shared/samples/camera/Canon_PowerShot-S40_CRW_0119.CRW}")
copies=${2:-4}
rounds=${3:-2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tool in lumivanecmd make_detailed_dng; do
  [ -x "$build/$tool" ] || { echo "build first: scripts/build.sh"; exit 2; }
done
command -v compare >/dev/null || { echo "needs ImageMagick's compare: scripts/install-deps.sh"; exit 2; }
isolate=()
if unshare -n true 2>/dev/null; then isolate=(unshare -n); fi  # a copy someone else starts cannot stop ours

mkdir -p "$work/in"
"$build/make_detailed_dng" "$camera" "$work/in/copy1.dng" 6000 4000
for n in $(seq 2 "$copies"); do cp "$work/in/copy1.dng" "$work/in/copy$n.dng"; done
resize=(--width=1600 --height=1600 --keep-aspect-ratio)

# Largest sum over the processes of the program $1 of their high-water marks, in KiB, while it runs.
sample_memory() {
  local program=$1
  declare -A peak=()
  while kill -0 "$program" 2>/dev/null; do
    for pid in "$program" $(pgrep -P "$program" || true); do
      local hwm
      hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
      [ -n "$hwm" ] && [ "$hwm" -gt "${peak[$pid]:-0}" ] && peak[$pid]=$hwm
    done
    sleep 0.05
  done
  local total=0
  for pid in "${!peak[@]}"; do total=$((total + peak[$pid])); done
  echo "$total"
}

# measure <mode>: "wall-seconds peak-KiB" of one conversion of every copy to jpg.
measure() {
  rm -rf "$work/out"; mkdir -p "$work/out"
  local start end code=0 peak
  start=$(date +%s.%N)
  "${isolate[@]}" "$build/lumivanecmd" -q -i "$work/in/" -o "$work/out" -c jpg "${resize[@]}" --raw-load-as="$1" \
    --jobs=1 >/dev/null 2>&1 &
  local program=$!
  peak=$(sample_memory "$program")
  wait "$program" || code=$?
  end=$(date +%s.%N)
  [ "$code" = 0 ] || { echo "lumivanecmd --raw-load-as=$1 ended with $code" >&2; exit 1; }
  awk -v a="$start" -v b="$end" -v p="$peak" 'BEGIN { printf "%.3f %d\n", b - a, p }'
}

load=$(cut -d' ' -f1 /proc/loadavg)
results=""
for ((round = 0; round < rounds; ++round)); do
  for mode in 24 FIT; do results+="$mode $(measure "$mode")"$'\n'; done
done

# One copy to png in each mode, for the PSNR.
mkdir -p "$work/one" "$work/png24" "$work/pngfit"
cp "$work/in/copy1.dng" "$work/one/"
for mode in 24 FIT; do
  "${isolate[@]}" "$build/lumivanecmd" -q -i "$work/one/" -o "$work/png${mode,,}" -c png "${resize[@]}" \
    --raw-load-as="$mode" >/dev/null 2>&1
done
psnr=$(compare -metric PSNR "$work/png24/copy1.png" "$work/pngfit/copy1.png" null: 2>&1 || true)
size=$(identify -format '%wx%h' "$work/pngfit/copy1.png")

awk -v n="$copies" -v r="$rounds" -v psnr="$psnr" -v size="$size" -v load="$load" -v cores="$(nproc)" '
  NF == 3 { if (!($1 in best) || $2 < best[$1]) best[$1] = $2; if ($3 > peak[$1]) peak[$1] = $3 }
  END {
    printf "24 MP DNG x %d to %s jpg, --jobs=1, best of %d (load average %s on %d cores before the runs)\n",
      n, size, r, load, cores
    printf "  24   %6.3f files/s  %7.1f MiB peak\n", n / best["24"], peak["24"] / 1024
    printf "  FIT  %6.3f files/s  %7.1f MiB peak\n", n / best["FIT"], peak["FIT"] / 1024
    speed = best["24"] / best["FIT"]; memory = peak["FIT"] / peak["24"]
    printf "  FIT/24: %.2fx the files per second (aim >= 3), %.2f of the peak memory (aim <= 0.5), PSNR %s dB (aim >= 40)\n",
      speed, memory, psnr
    exit !(speed >= 3 && memory <= 0.5 && psnr + 0 >= 40)
  }' <<<"$results"
