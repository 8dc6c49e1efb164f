#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the fuzz targets for a bounded time,
# the threaded suites under ThreadSanitizer, then all suites under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
./scripts/check-layers.sh

jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-20}
export QT_QPA_PLATFORM=offscreen

configure() {  # folder, extra options...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

configure build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_FUZZ=ON -DCORVANE_TESTS=OFF \
    -DCORVANE_WITH_UI=OFF -DCORVANE_SANITIZE=address
cmake --build build/fuzz -j"$jobs"
for fuzzer in build/fuzz/fuzz/*_fuzz; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    seeds=fuzz/seeds/${name%_fuzz}
    [ -d "$seeds" ] || seeds=""
    echo "fuzz: $name for ${fuzz_seconds}s"
    "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" $seeds \
        >build/fuzz/"$name".log 2>&1 || { tail -50 build/fuzz/"$name".log; exit 1; }
done

configure build/tsan -DCORVANE_SANITIZE=thread -DCORVANE_WITH_UI=OFF
cmake --build build/tsan -j"$jobs"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp" \
    ctest --test-dir build/tsan -L threads --output-on-failure -j"$jobs"

configure build/asan -DCORVANE_SANITIZE=address
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1" \
    ctest --test-dir build/asan --output-on-failure -j"$jobs"
