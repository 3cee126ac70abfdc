#!/usr/bin/env bash
# Builds the test programs with ThreadSanitizer into build-tsan/ and runs the
# tests that drive the program's threads: the batch with its decodes ahead,
# its save on a thread of its own and its photo worked ahead meanwhile, the
# previews and reductions on the row pool, forced to four threads whatever
# the machine has (a few minutes). Any report
# in the project's own code fails the run; scripts/tsan.supp filters only
# what Qt's uninstrumented threads show, each entry with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."
sanitizers="-fsanitize=thread -fno-omit-frame-pointer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOVIS_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" > /dev/null
# The build lists each test program's tests by running it, so the options
# must hold there already.
export QT_QPA_PLATFORM=offscreen
export PLOVIS_WORKER_THREADS=4
export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp halt_on_error=1 exitcode=66 second_deadlock_stack=1"
ninja -C build-tsan main_tests pipeline_tests platform_tests
# Newer kernels place mappings where ThreadSanitizer does not expect them;
# without address randomisation it always finds its shadow memory.
run() { setarch "$(uname -m)" -R "$@"; }
run build-tsan/platform_tests --gtest_filter='JpegPrefetch.*:ParallelRows.*:-ParallelRows.CountsTheCoresTheProcessMayRunOn'
run build-tsan/pipeline_tests --gtest_filter='*Thread*:ShrinkHighQuality.Abort*:ShrinkHighQuality.AWindow*:JpegSaving.*'
run build-tsan/main_tests --gtest_filter='RunsTest.*:PreviewFittingTest.*'
