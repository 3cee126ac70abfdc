#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and the sanitizers into
# build-fuzz/ and runs each for a bounded time, all at once, from a copy of
# its seed corpus (the committed seeds never grow). Any crash, sanitizer
# report, leak, time-out or memory blow-up fails the run; the input that
# caused it is kept in build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${PLOVIS_FUZZ_SECONDS:-60}"
targets=(jpeg_decode_fuzzer:jpeg ini_reader_fuzzer:ini)

CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPLOVIS_FUZZ=ON -DPLOVIS_TESTS=OFF -DPLOVIS_BENCH=OFF > /dev/null
ninja -C build-fuzz "${targets[@]%%:*}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export UBSAN_OPTIONS=print_stacktrace=1
# Reports name functions and lines only through LLVM's symbolizer.
if [ -x /usr/bin/llvm-symbolizer-14 ]; then export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-14; fi
pids=()
for entry in "${targets[@]}"; do
    target="${entry%%:*}"
    findings="build-fuzz/findings/$target"
    rm -rf "$findings"
    mkdir -p "$findings" "$work/$target/tmp"
    cp -r "fuzz/corpus/${entry#*:}" "$work/$target/corpus"
    # TMPDIR: the scratch files a target writes go where the trap removes them.
    # A 30 s time-out leaves room for a loaded machine: only a real hang fails.
    TMPDIR="$work/$target/tmp" "build-fuzz/$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$work/$target/corpus" > "$work/$target.log" 2>&1 &
    pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
    target="${targets[$i]%%:*}"
    if wait "${pids[$i]}"; then
        echo "$target: $(grep -m1 '^stat::number_of_executed_units' "$work/$target.log" | awk '{print $2}') inputs, no finding"
        rmdir "build-fuzz/findings/$target"
    else
        failed=1
        echo "$target FAILED; its input is in build-fuzz/findings/$target/:"
        tail -n 60 "$work/$target.log"
    fi
done
exit "$failed"
