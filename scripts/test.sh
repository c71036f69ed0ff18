#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the normal build (GUI tests offscreen),
# then the AddressSanitizer+UndefinedBehaviorSanitizer build of the non-GUI tests, then the
# ThreadSanitizer build of the tests that run threads.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/deps.sh

jobs=$(nproc)
werror=OFF
[ -n "${CI:-}" ] && werror=ON

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/ortelia-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
# The information pages' browser engine refuses to run as root with its sandbox.
if [ "$(id -u)" = 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi

step() { printf '\n== %s ==\n' "$*"; }

step "normal build"
# The benchmarks are built (never run) so that they keep up with the code they measure.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORTELIA_WERROR=$werror -DORTELIA_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
step "tests"
ctest --test-dir build --output-on-failure -j "$jobs" --no-tests=error

step "sanitizer build (ASan+UBSan), non-GUI tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORTELIA_QT=OFF -DORTELIA_SANITIZE=address \
  -DORTELIA_WERROR=$werror -DCMAKE_CXX_FLAGS="-O1" >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" --no-tests=error

# The threaded tests live in tests/searchthreads; only they are built with ThreadSanitizer.
tsan_targets=$(find tests/searchthreads -name 'Test*.cpp' -printf '%f\n' 2>/dev/null | sed 's/\.cpp$//' | sort)
if [ -n "$tsan_targets" ]; then
  step "ThreadSanitizer build, threaded tests"
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORTELIA_QT=OFF -DORTELIA_SANITIZE=thread \
    -DORTELIA_WERROR=$werror -DCMAKE_CXX_FLAGS="-O1" >/dev/null
  # shellcheck disable=SC2086
  cmake --build build-tsan -j "$jobs" --target $tsan_targets
  TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L threads --no-tests=error
fi

step "all tests passed"
