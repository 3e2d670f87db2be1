#!/usr/bin/env bash
# Builds every libFuzzer target with clang into build-fuzz/ (FUZZ_BUILD_DIR overrides) and runs each for the given
# number of seconds (default 20), starting from the seed inputs in fuzz/corpus/<target>/. Set FUZZ_TARGETS to a
# space-separated subset to run only those. New inputs the fuzzer finds go to build-fuzz/corpus/<target>/, never into
# the repository; a crash leaves its input in build-fuzz/artifacts/ and fails the run. See docs/hardening.md.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVANE_FUZZ=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build_dir" --target fuzzers -j"$(nproc)"

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
# The targets' scratch files live here; libFuzzer may end a process without running its clean-up.
scratch="$PWD/$build_dir/scratch"
mkdir -p "$build_dir/artifacts"
targets=${FUZZ_TARGETS:-$(cd fuzz && ls ./*_fuzzer.cpp | sed 's|^\./||; s|\.cpp$||')}
failed=()
for target in $targets; do
  rm -rf "$scratch" && mkdir -p "$scratch" "$build_dir/corpus/$target"
  seeds=()
  if [ -d "fuzz/corpus/$target" ]; then seeds=("fuzz/corpus/$target"); fi
  echo "== $target: ${seconds} s"
  if ! TMPDIR="$scratch" "$build_dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=4096 -print_final_stats=1 -artifact_prefix="$build_dir/artifacts/$target-" \
      "$build_dir/corpus/$target" "${seeds[@]}" 2>"$build_dir/$target.log"; then
    tail -n 60 "$build_dir/$target.log"
    failed+=("$target")
  else
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|Done)' "$build_dir/$target.log" || true
  fi
done
rm -rf "$scratch"
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found problems in: ${failed[*]} (inputs in $build_dir/artifacts/)"
  exit 1
fi
