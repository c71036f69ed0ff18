#!/usr/bin/env bash
# Installs what is missing, builds, makes the sample data set once (build/sample/data) and starts
# the viewer on it. Until the viewer exists it runs the smoke check and shows what the sample holds.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

if [ ! -d build/sample/data ]; then
  echo "Making the sample data set (once)..."
  build/tools/ortelia-build --sample "${ORTELIA_SAMPLE_SIZE:-200000}" --seed 1 build/sample/data
fi

if [ -x build/ui/ortelia ]; then
  cd build/sample
  exec ../ui/ortelia
fi

echo "The viewer is not built yet; running the smoke check and showing the sample instead."
ctest --test-dir build --output-on-failure -L smoke --no-tests=error
build/tools/ortelia-cli build/sample/data info
