#!/usr/bin/env bash
# Builds every libFuzzer target with clang into build-fuzz/ (FUZZ_BUILD_DIR overrides) and runs each for the given
# number of seconds (default 20), starting from the seed inputs in fuzz/corpus/<target>/. Set FUZZ_TARGETS to a
# space-separated subset to run only those. New inputs the fuzzer finds go to build-fuzz/corpus/<target>/, never into
# the repository; a crash leaves its input in build-fuzz/artifacts/ and fails the run. See docs/hardening.md.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
scripts/install-deps.sh clang libclang-rt-dev
# -O1 with line tables: quick to build, fast enough to fuzz, and every report names its source lines.
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" -DLUMIVANE_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build_dir" --target fuzzers -j"$(nproc)"

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
# The targets write a scratch file per input: on a memory file system when there is one (a disk can take
# milliseconds per rewritten file). libFuzzer may end a process without clean-up, so the folder is removed here.
out=$(cd "$build_dir" && pwd)
scratch_base="$out"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch_base=/dev/shm; fi
scratch="$scratch_base/lumivane-fuzz-$$"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$out/artifacts"

# One target: its own scratch folder, its generated corpus first (new inputs land there), then our seeds.
# Absolute paths throughout, since some targets make their scratch folder the current folder.
run_target() {
  local target=$1
  local seeds=()
  if [ -d "fuzz/corpus/$target" ]; then seeds=("$PWD/fuzz/corpus/$target"); fi
  mkdir -p "$scratch/$target" "$out/corpus/$target"
  rm -f "$out/$target.failed"
  TMPDIR="$scratch/$target" "$out/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$out/artifacts/$target-" \
    "$out/corpus/$target" "${seeds[@]}" >"$out/$target.log" 2>&1 || touch "$out/$target.failed"
}

# As many targets at a time as there are cores; each fuzzes on one.
targets=${FUZZ_TARGETS:-$(cd fuzz && ls ./*_fuzzer.cpp | sed 's|^\./||; s|\.cpp$||')}
echo "fuzzing each target for $seconds s: $(echo $targets | wc -w) targets, $(nproc) at a time"
for target in $targets; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  run_target "$target" &
done
wait

failed=()
for target in $targets; do
  if [ -e "$out/$target.failed" ]; then
    echo "== $target: FAILED"
    tail -n 60 "$out/$target.log"
    failed+=("$target")
  else
    echo "== $target: $(grep -E '^Done' "$out/$target.log" || echo 'no summary')"
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found problems in: ${failed[*]} (inputs in $build_dir/artifacts/)"
  exit 1
fi
