#!/usr/bin/env bash
# Configures and builds the project into the folder given (default: build);
# further arguments name the only targets to build (default: all).
# The embedded statistics server is the loopback address that the tests and
# the demo serve.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DUNINST_STAT_SERVER="http://127.0.0.1:47080" >/dev/null
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
