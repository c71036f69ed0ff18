#!/usr/bin/env bash
# Installs what is missing, builds, makes the sample data set once (build/sample/data) and starts
# the viewer on it (from build/sample, where it finds the folder "data").
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

if [ ! -d build/sample/data ]; then
  echo "Making the sample data set (once)..."
  build/tools/ortelia-build --sample "${ORTELIA_SAMPLE_SIZE:-200000}" --seed 1 build/sample/data
fi

cd build/sample
exec ../ui/ortelia
