#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs every test headless there. Any report fails the run,
# leaks at exit included (none is suppressed: Qt and fontconfig report none).
set -euo pipefail
cd "$(dirname "$0")/.."
sanitizers="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOVIS_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" > /dev/null
# The build lists each test program's tests by running it, so the options
# must hold there already.
export QT_QPA_PLATFORM=offscreen
# A failed allocation is the program's to handle (an empty picture and a
# message), and a test makes one: it must come back as no memory, not stop.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1
ninja -C build-asan
cd build-asan
ctest --output-on-failure -j "$(nproc)"
