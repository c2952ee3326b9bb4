#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#  1. the whole program and all tests (Qt tests run offscreen);
#  2. all of it again as a Debug build (assertions on) under AddressSanitizer and
#     UndefinedBehaviorSanitizer, leak checks included, the Qt tests offscreen as well.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$(nproc)"
scripts/build.sh build-asan -DTIDERUNE_QT=ON -DTIDERUNE_BENCH=OFF -DTIDERUNE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
