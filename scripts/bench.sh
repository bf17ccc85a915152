#!/usr/bin/env bash
# Builds and runs every benchmark under Wine; they print their figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${UNINST_BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build"
# shellcheck source=scripts/xvfb-wine-env.sh
. "$root/scripts/xvfb-wine-env.sh"
trap uninst_stop_env EXIT
uninst_start_xvfb
uninst_make_prefix "$build/bench-prefix"
for exe in "$build"/bench/*.exe; do
  [ -e "$exe" ] || continue
  echo "== $(basename "$exe")"
  wine "$exe"
done
