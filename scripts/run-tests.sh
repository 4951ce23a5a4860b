#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, widget, media, e2e, print).
# Pass ctest arguments to narrow the run, for example: scripts/run-tests.sh -L unit
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh"
build_dir=${ZQ_BUILD_DIR:-$here/build}
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)" --timeout 600 "$@"
