#!/usr/bin/env bash
# Installs what is missing, builds, writes the sample card on first use, and starts the viewer on it.
# Without a display it runs the viewer under Xvfb for about 20 seconds and writes a screenshot instead.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh"
build_dir=${ZQ_BUILD_DIR:-$here/build}
bundle="$build_dir/bundle"
card="$build_dir/sample-card"
if [ ! -f "$card/.complete" ]; then
  rm -rf "$card"
  "$bundle/zq481k-tool" make-card "$card"
  touch "$card/.complete"
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bundle/zq481k-viewer" "$card/"
fi

shot="$build_dir/viewer-screenshot.png"
seconds=${ZQ_HEADLESS_SECONDS:-20}
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running the viewer under Xvfb for ${seconds} s."
rm -f "$shot"
# The start-up notice stays 5 s and the loading dialog 3 s; the first recording plays a few seconds later.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$1" "$2" > "$3.log" 2>&1 &
  viewer=$!
  sleep $(( $5 - 5 ))
  import -window root "$3"
  sleep 5
  kill "$viewer" 2>/dev/null || true
  wait "$viewer" 2>/dev/null || true
' run-viewer "$bundle/zq481k-viewer" "$card/" "$shot" "$build_dir" "$seconds"
if [ -f "$shot" ]; then
  echo "Screenshot of the viewer playing the sample card: $shot"
else
  echo "No screenshot was written; the viewer's output is in $shot.log" >&2
  exit 1
fi
