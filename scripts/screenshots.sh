#!/usr/bin/env bash
# Builds the viewer, makes the sample data set if absent, starts the window under Xvfb on it, visits
# every section and writes each as a PNG file under build/screenshots (offscreen when there is no
# Xvfb), for looking at the design without a screen. ORTELIA_BUILD_DIR names another build folder
# (the pictures then go to its screenshots folder); ORTELIA_SAMPLE_SIZE the sample's listings.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build="${ORTELIA_BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target ortelia-screenshots ortelia-build
if [ ! -d "$build/sample/data" ]; then
  "$build/tools/ortelia-build" --sample "${ORTELIA_SAMPLE_SIZE:-200000}" --seed 1 "$build/sample/data"
fi
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/ortelia-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
# The browser engine of the information pages refuses to run as root with its sandbox.
if [ "$(id -u)" = 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
out="$build/screenshots"
if command -v xvfb-run >/dev/null; then
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$build/ui/ortelia-screenshots" "$build/sample/data" "$out"
else
  QT_QPA_PLATFORM=offscreen "$build/ui/ortelia-screenshots" "$build/sample/data" "$out"
fi
