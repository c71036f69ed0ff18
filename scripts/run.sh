#!/usr/bin/env bash
# Installs what is missing, builds, and starts the viewer on the sample data set (made once under
# build/sample). Until the viewer exists this runs the smoke check of the test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

if [ -x build/ui/ortelia ]; then
  if [ ! -d build/sample/data ]; then
    echo "Making the sample data set (once)..."
    build/tools/ortelia-build --sample "${ORTELIA_SAMPLE_SIZE:-200000}" --seed 1 build/sample/data
  fi
  cd build/sample
  exec ../ui/ortelia
fi

echo "The viewer is not built yet; running the smoke check instead."
ctest --test-dir build --output-on-failure -L smoke --no-tests=error
