#!/usr/bin/env bash
# Builds the library, the program and the tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ (SANITIZE_BUILD_DIR overrides) and runs the whole test suite there. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${SANITIZE_BUILD_DIR:-build-sanitize}
# Every finding stops the process with a stack trace; exit code 86 is nothing the program itself returns, so a
# report inside lumivanecmd fails the end-to-end test that ran it. Leaks in the font libraries' one-time setup
# are suppressed (tests/lsan.supp); any other leak is a finding.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:exitcode=86:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:exitcode=86
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0:exitcode=86
# Unoptimised with line tables keeps the build short (the run time is mostly process start-up and the image
# libraries); the standard library's own checks catch out-of-range container accesses that stay inside an allocation.
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1 -D_GLIBCXX_ASSERTIONS" \
  -DLUMIVANE_SANITIZE=ON >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
# Left out here, run by the normal suite: the tests that repeat the same code a million times (their scale is
# about time, not about new paths) and the package build (no code of ours runs in it).
scale_tests='HoldsAMillionDistinctPaths|HandlesAMillionLines|AMillionLineList|DebianPackage'
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" -E "$scale_tests"
