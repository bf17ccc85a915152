#!/usr/bin/env bash
# Builds and runs every benchmark under Wine; they print their figures.
set -euo pipefail
# shellcheck source=scripts/run-env.sh
. "$(dirname "$0")/run-env.sh"
build=${UNINST_BUILD_DIR:-$UNINST_ROOT/build}
trap uninst_stop_env EXIT
uninst_prepare_run "$build" bench-prefix
for exe in "$build"/bench/*.exe; do
  [ -e "$exe" ] || continue
  echo "== $(basename "$exe")"
  wine "$exe"
done
