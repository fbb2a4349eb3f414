#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a warnings-as-errors build, then an
# AddressSanitizer + UndefinedBehaviorSanitizer build (clang) that also runs the fuzz
# targets for a bounded time. Any failure or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# No strict_string_checks: the X keyboard library that Qt's xcb platform loads hands
# strndup a bounded, unterminated buffer, which that check reports inside the system library.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp

echo "== release build (g++, -Werror)"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLIX_WERROR=ON >/dev/null
cmake --build build/release -j"$jobs"
ctest --test-dir build/release --output-on-failure -j"$jobs" --timeout 600

echo "== sanitizer build (clang, ASan+UBSan, fuzz targets)"
CC=clang CXX=clang++ cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVELLIX_WERROR=ON -DVELLIX_SANITIZE=ON -DVELLIX_FUZZ=ON -DVELLIX_BENCH=OFF \
  -DVELLIX_FUZZ_SECONDS="${VELLIX_FUZZ_SECONDS:-20}" >/dev/null
cmake --build build/asan -j"$jobs"
ctest --test-dir build/asan --output-on-failure -j"$jobs" --timeout 900
