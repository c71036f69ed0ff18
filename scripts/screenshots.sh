#!/usr/bin/env bash
# Builds the viewer, makes the sample data set if absent and writes the window's sections as PNG
# files under build/screenshots, drawn offscreen, for looking at the design without a screen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target ortelia-screenshots ortelia-build
if [ ! -d build/sample/data ]; then
  build/tools/ortelia-build --sample "${ORTELIA_SAMPLE_SIZE:-200000}" --seed 1 build/sample/data
fi
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/ortelia-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
build/ui/ortelia-screenshots build/sample/data build/screenshots
