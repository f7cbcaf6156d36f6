#!/usr/bin/env bash
# Installs what is missing, configures and builds everything into ./build
# (or $TOLVA_BUILD_DIR).
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${TOLVA_BUILD_DIR:-$source_dir/build}

"$source_dir/scripts/deps.sh"
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" -j "$(nproc 2>/dev/null || echo 2)"
