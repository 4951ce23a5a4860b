#!/usr/bin/env bash
# Configures and builds the project into build/ (or $ZQ_BUILD_DIR). Extra arguments go to cmake's configure step.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${ZQ_BUILD_DIR:-$here/build}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
elif [ $# -gt 0 ]; then
  cmake -S "$here" -B "$build_dir" "$@"
fi
cmake --build "$build_dir" -j "$(nproc)"
