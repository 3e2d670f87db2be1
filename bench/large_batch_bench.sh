#!/usr/bin/env bash
# Reruns and shards on a generated tree of small DNGs (default 2,000 in 20 folders; our DNG writer makes 50 different
# ones, copied): the time of a plain run, of a rerun with --skip-existing that finds every output up to date, and of
# three shard runs (--shard=K/3, one after the other; the
# second reads the tree through a link, as a machine that mounts it elsewhere would). Checks that the shards write
# the plain run's files byte for byte, and that their merged reports equal the plain run's but for the timings
# when every shard reads the tree at the same path. The rerun of pictures this small is bound by the program's start
# and the walk of the tree, so the aim of a rerun at least 20x faster than the first run is checked on camera
# files: the samples' camera/ folder (SAMPLES_DIR, default ../shared/samples), when there is one. Exit status 1 when
# a check or the aim fails.
# Usage: bench/large_batch_bench.sh [files] [jobs]   (defaults 2000 and 0: one per core); needs a build in build/
# (BUILD_DIR overrides) and jq.
set -euo pipefail
# In a network namespace of its own the program's single-instance guard ignores other users' runs.
if [ -z "${LUMIVANE_BENCH_NETNS:-}" ] && unshare -n true 2>/dev/null; then
  LUMIVANE_BENCH_NETNS=1 exec unshare -n -- bash "$0" "$@"
fi
cd "$(dirname "$0")/.."
source=$PWD
build=$(realpath "${BUILD_DIR:-build}")
files=${1:-2000}
jobs=${2:-0}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -x "$build/lumivanecmd" ] || { echo "build first: scripts/build.sh"; exit 2; }
command -v jq >/dev/null || { echo "jq is needed: scripts/install-deps.sh"; exit 2; }
if [ -z "${LUMIVANE_BENCH_NETNS:-}" ] && pgrep -x lumivanecmd >/dev/null; then
  echo "another lumivanecmd is running; try again when it has ended"
  exit 3
fi

for n in $(seq 0 49); do "$build/make_sample_dng" "$work/model$n.dng" $((96 + 2 * n)) 64 >/dev/null; done
for i in $(seq 0 $((files - 1))); do
  mkdir -p "$work/tree/folder$((i % 20))"
  cp "$work/model$((i % 50)).dng" "$work/tree/folder$((i % 20))/photo$i.dng"
done
ln -s "$work/tree" "$work/link"

# run <name> <input> [options...]: one quiet conversion to jpg; prints its wall seconds.
run() {
  local name=$1 input=$2 start end
  shift 2
  mkdir -p "$work/$name"
  start=$(date +%s.%N)
  "$build/lumivanecmd" -q -i "$input/" -o "$work/$name" -c jpg --jobs="$jobs" "$@" >"$work/$name.log" || true
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}
failed=0
check() {  # check <what> <command...>
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then echo "ok       $what"; else echo "FAILED   $what"; failed=1; fi
}
comparable() { jq -c 'del(.milliseconds)' "$@"; }

plain=$(run plain "$work/tree" --report="$work/plain.jsonl")
rerun=$(run plain "$work/tree" --skip-existing --report="$work/rerun.jsonl")
shards=0
for k in 1 2 3; do
  seconds=$(run same "$work/tree" --shard=$k/3 --report="$work/same$k.jsonl")
  shards=$(awk -v a="$shards" -v b="$seconds" 'BEGIN { printf "%.3f", a + b }')
  input=$work/tree
  [ $k = 2 ] && input=$work/link
  run linked "$input" --shard=$k/3 >/dev/null
done
awk -v n="$files" -v p="$plain" -v r="$rerun" -v s="$shards" 'BEGIN {
  printf "%d files | plain run %.2f s (%.1f files/s) | rerun, all up to date %.2f s: %.1fx faster | three shards one after the other %.2f s\n",
    n, p, n / p, r, p / r, s }'

check "the rerun decodes nothing" grep -qx "skipped $files" <(jq -r 'select(.type == "summary") | "skipped \(.skipped)"' "$work/rerun.jsonl")
camera=$(realpath -q "${SAMPLES_DIR:-../shared/samples}/camera" || true)
if [ -d "$camera" ]; then
  first=$(run camera "$camera")
  again=$(run camera "$camera" --skip-existing)
  awk -v n="$(ls "$camera" | wc -l)" -v p="$first" -v r="$again" 'BEGIN {
    printf "%d camera files | plain run %.2f s | rerun, all up to date %.2f s: %.1fx faster (aim 20x)\n", n, p, r, p / r }'
  check "the rerun of the camera files is at least 20x faster" awk -v p="$first" -v r="$again" 'BEGIN { exit !(p >= 20 * r) }'
else
  echo "no camera samples at ${SAMPLES_DIR:-../shared/samples}/camera: the 20x aim is not checked"
fi
check "shards at one path write the plain run's files" diff -r "$work/plain" "$work/same"
check "shards at two paths write the plain run's files" diff -r "$work/plain" "$work/linked"
"$source/scripts/merge-shard-reports.sh" "$work"/same{1,2,3}.jsonl >"$work/merged.jsonl"
check "the merged report is the plain run's but for timings" \
  diff <(comparable "$work/plain.jsonl" | sed "s|$work/plain/||") <(comparable "$work/merged.jsonl" | sed "s|$work/same/||")
exit $failed
