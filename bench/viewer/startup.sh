#!/usr/bin/env bash
# Start-up of zq481k-viewer to its first mapped window (before the start-up notice's 5 s), under Xvfb,
# median of 5 runs, against the 1 s goal. usage: bench/viewer/startup.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-$here/build}
viewer="$build_dir/bundle/zq481k-viewer"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  times=()
  for run in 1 2 3 4 5; do
    start=$(date +%s%N)
    ZQ_AUDIO_SINK=fakesink "$1" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "^ZQ481K Viewer$" >/dev/null 2>&1; do
      sleep 0.01
      if [ $(( ($(date +%s%N) - start) / 1000000 )) -gt 20000 ]; then echo "no window within 20 s"; break; fi
    done
    times+=( $(( ($(date +%s%N) - start) / 1000000 )) )
    kill "$pid"; wait "$pid" 2>/dev/null || true
  done
  median=$(printf "%s\n" "${times[@]}" | sort -n | sed -n 3p)
  echo "start-up to the first window: runs ${times[*]} ms, median ${median} ms; ratio to the 1 s goal $(awk -v m="$median" "BEGIN { printf \"%.2f\", m / 1000 }")"
' startup "$viewer"
