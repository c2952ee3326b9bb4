#!/usr/bin/env bash
# Configures and builds Tiderune into build/ (or the folder given as $1, with extra cmake args after it).
# JOBS sets the number of parallel compile jobs (default: all cores).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}; shift || true
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j"${JOBS:-$(nproc)}"
