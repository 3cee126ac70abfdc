#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs every test headless there; any report fails the run.
# Leaks count too, except those inside third-party libraries (lsan.supp).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
sanitizers="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOVIS_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" > /dev/null
# The build lists each test program's tests by running it, so the options
# apply there already.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1
ninja -C build-asan
cd build-asan
ctest --output-on-failure -j "$(nproc)"
