#!/bin/sh
# Builds the whole test suite again with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (benchmarks left out) and runs it with ctest.
# Any sanitizer finding ends its test with a non-zero status, so the run fails.
#
# QCT_LOCK=FILE runs each configure, build and ctest step under `flock FILE`, for machines
# where other builds share the cores; unset, the steps run as they are.
set -e
cd "$(dirname "$0")/.."
. tools/packages.sh

lock=""
[ -z "$QCT_LOCK" ] || lock="flock $QCT_LOCK"

# -O1 keeps the build quick and the stacks readable; the sanitizers need no more.
$lock cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g -DNDEBUG" -DQCT_SANITIZE=ON -DQCT_BENCH=OFF
$lock cmake --build build-asan -j"$(nproc)"

# A finding stops the test at once with a non-zero status. Leaks that Qt's platform start-up,
# fontconfig, D-Bus and Mesa make on their own are suppressed by tests/lsan.supp; the
# leak_canary test proves that a leak of ours is still reported. Stacks are unwound through
# frame pointers (the default): unwinding every allocation in full deadlocks Mesa's threads.
ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:print_summary=1"
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp"
export ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
cd build-asan
$lock ctest --output-on-failure -j"$(nproc)"
